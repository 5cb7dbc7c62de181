// Changing identifications in the viewer: which modern star an ancient star is taken to be. The
// nearest-stars list offers, for its ancient star, each reference star it lists (and none); every
// change of the run can be undone and redone (Ctrl+Z, Ctrl+Shift+Z); an edition that differs from
// its file shows a "*" after its name in the window title and its menu item; "Save Catalog As..."
// writes the current edition whole or not at all; closing with changes unsaved asks first.
// Called by the commands, the nearest-stars query and the shell's paint and close handlers.
#pragma once

#include <string>
#include <vector>

#include "catalog/catalog.h"

constexpr int kCharacterUndo = 26;  // Ctrl+Z; with Shift, redo
constexpr char kSaveCatalogTitle[] = "Save Catalog As";
constexpr char kCatalogFileFilter[] = "Catalog files (*.dat)";
constexpr char kCatalogSaveFailedMessage[] = "The catalog couldn't be saved.";
constexpr char kChangedMark[] = "*";

struct IdentificationChange {
    int slot;  // 0-based edition slot
    StarPlace star;
    int before, after;  // reference star numbers, 0 for none
};

// What the open nearest-stars list offers to change: the identification of its ancient star
// to each reference star listed, in list order, then to none.
struct IdentifyChoices {
    int slot = -1;  // -1: nothing to offer
    StarPlace star;
    std::vector<int> references;
};

struct IdentificationState {
    std::vector<IdentificationChange> changes;
    size_t applied = 0;  // changes[0, applied) are in force, the rest can be redone
    // The identifications of each slot's edition as read or last saved, kept from its first
    // change on; empty while unchanged.
    std::vector<int> saved[kEditionSlotCount];
    IdentifyChoices choices;
    std::string windowTitle = "Tessaran Stars";  // as last handed to the platform
};

// Sets the identification of a star of the edition in `slot` and keeps the change for undo.
void identifyStar(int slot, StarPlace star, int referenceNumber);
void undoIdentification();
void redoIdentification();
// Ctrl+Z: undo, or redo with Shift down.
void undoOrRedo();
// True when the edition in `slot` has identifications other than those of its file.
bool editionChanged(int slot);
// A new edition was read into `slot`: its changes are forgotten, undo included.
void editionReplaced(int slot);

// The choices of the nearest-stars list for the current constellation's star at `index` and the
// reference stars listed (catalogue entries); their menu texts go to the platform.
void offerIdentifyChoices(int index, const int* entries, int count);
void clearIdentifyChoices();
// The command of choice `choice` (0 the first reference star listed; the last, none).
void chooseIdentification(int choice);

// Asks for a file and writes the current edition there; true when it was written.
bool saveCurrentCatalogAs();
// Before the main window closes: with changes unsaved asks Save / Discard / Cancel; false when
// the window is to stay open.
bool mayCloseWithChanges();

// "Tessaran Stars", or with the current edition changed, "<name>* - Tessaran Stars".
std::string windowTitleText();
// The title to the platform when it changed.
void refreshWindowTitle();
