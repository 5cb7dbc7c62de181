// The commands of the main window: the characters typed in it and the items of the popup menu
// (most of which replay a character), the popup menu's check marks and catalog texts, the arrow
// mode, the display toggles, the colour chooser, replacing the current edition and the user
// guide. Called by the shell's character, command and right-button handlers; the actions that
// move the view live in navigation.
#pragma once

#include <string>

#include "app/nearest_window.h"  // q and the left click drive the nearest-stars window

constexpr char kFileDialogTitle[] = "Load Catalog";
constexpr char kCatalogFilePattern[] = "*.dat";
constexpr char kUserGuideName[] = "readme.html";
constexpr char kNewCatalogFailedMessage[] = "The new catalog couldn't be loaded.";
constexpr char kSavePictureTitle[] = "Save Picture";
constexpr char kPictureFileSuffix[] = ".png";
constexpr char kPictureFileFilter[] = "PNG pictures (*.png)";
constexpr char kPictureFailedMessage[] = "The picture couldn't be saved.";
// The key of Save Picture: "i" for image, a letter no other command takes.
constexpr int kCharacterSavePicture = 'i';
// The key of the Statistics window: "t", free like "i".
constexpr int kCharacterStatistics = 't';

void characterCommand(int code);
void menuCommand(int command);
// Sets the check marks and catalog texts, then opens the menu at the client point.
void showPopupMenu(int x, int y);

// Flips display element n (1..6) and repaints; any other n is ignored.
void toggleDisplayFlag(int n);
// 0 arrows move the view, 1 they move the shift; redraws only the status line.
void setArrowMode(int mode);
// The colour chooser for a colour table entry; repaints when a colour was confirmed.
void colorCommand(int entry);
// Asks for an edition file and puts it in place of the current slot's; 1 when it did.
int replaceCurrentCatalog();
// The open-file dialog, starting in the folder of the last file chosen; true with the full path.
bool chooseFile(const char* pattern, const char* title, std::string& path);
void showUserGuide();
// The print dialog and the current view printed, one page per copy (app/printing).
void printView();

// The epoch dialog; on OK the new epoch and offsets, the reference stars carried to the epoch,
// the nearest-stars query told, and a repaint. Cancel changes nothing.
void setEpoch();
// What OK in the epoch dialog does with its setting, for the Statistics window's fits too.
void applyEpochSetting(const EpochSetting& setting);

// Asks for a file name and saves the view as the window shows it (star numbers included, the
// status line not) as a PNG at the window's device resolution; a message when it failed.
void savePicture();

// True when nothing is at `path`, or the user agreed to replace what is there.
bool mayReplaceFile(const std::string& path);

// The about box, modal.
void showAboutBox();
