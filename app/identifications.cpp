#include "app/identifications.h"

#include "app/commands.h"
#include "app/platform_services.h"
#include "app/shell.h"
#include "app/state.h"
#include "app/statistics_window.h"
#include "catalog/edition_file.h"
#include "catalog/text_format.h"

namespace {

IdentificationState& edits() { return theApp.identifications; }

AncientStar* starAt(int slot, StarPlace place) {
    AncientCatalog* edition = theApp.catalogs.slots[slot].get();
    if (!edition || place.constellation < 0 || place.constellation >= kConstellationCount)
        return nullptr;
    std::vector<AncientStar>& stars = edition->constellations[place.constellation].stars;
    return place.index >= 0 && place.index < int(stars.size()) ? &stars[size_t(place.index)]
                                                               : nullptr;
}

std::vector<int> identificationsOf(const AncientCatalog& edition) {
    std::vector<int> numbers;
    for (const Constellation& constellation : edition.constellations)
        for (const AncientStar& star : constellation.stars) numbers.push_back(star.identification);
    return numbers;
}

// Puts one identification in place and shows what follows from it: the identification lines,
// the nearest-stars list and its choices, the Statistics window and the title.
void setIdentification(int slot, StarPlace place, int number) {
    AncientStar* star = starAt(slot, place);
    if (!star) return;
    star->identification = number;
    if (theApp.statistics.epochFit.edition == theApp.catalogs.slots[slot].get())
        forgetStatisticsFit();
    platformRepaint();
    refreshNearestStars();
}

const char* editionName(const AncientCatalog& edition) {
    return edition.name.empty() ? "(no name)" : edition.name.c_str();
}

bool saveEditionAs(int slot) {
    AncientCatalog* edition = theApp.catalogs.slots[slot].get();
    if (!edition) return false;
    const size_t separator = edition->path.find_last_of("/\\");
    const std::string suggested =
        separator == std::string::npos ? edition->path : edition->path.substr(separator + 1);
    std::string path;
    if (!platformChooseSaveFile(kSaveCatalogTitle, kCatalogFileFilter, suggested.c_str(), path) ||
        !mayReplaceFile(path))
        return false;
    if (!saveEdition(path, *edition)) {
        platformMessageBox(kCatalogSaveFailedMessage, kProgramCaption);
        return false;
    }
    edition->path = path;
    edits().saved[slot] = identificationsOf(*edition);
    refreshWindowTitle();
    return true;
}

}  // namespace

void identifyStar(int slot, StarPlace place, int referenceNumber) {
    const AncientStar* star = starAt(slot, place);
    if (!star || star->identification == referenceNumber) return;
    IdentificationState& state = edits();
    if (state.saved[slot].empty()) state.saved[slot] = identificationsOf(*theApp.catalogs.slots[slot]);
    state.changes.resize(state.applied);  // a new change ends what could be redone
    state.changes.push_back({slot, place, star->identification, referenceNumber});
    state.applied = state.changes.size();
    setIdentification(slot, place, referenceNumber);
}

void undoIdentification() {
    IdentificationState& state = edits();
    if (state.applied == 0) return;
    const IdentificationChange& change = state.changes[--state.applied];
    setIdentification(change.slot, change.star, change.before);
}

void redoIdentification() {
    IdentificationState& state = edits();
    if (state.applied == state.changes.size()) return;
    const IdentificationChange& change = state.changes[state.applied++];
    setIdentification(change.slot, change.star, change.after);
}

void undoOrRedo() { platformShiftDown() ? redoIdentification() : undoIdentification(); }

bool editionChanged(int slot) {
    const AncientCatalog* edition = theApp.catalogs.slots[slot].get();
    const std::vector<int>& saved = edits().saved[slot];
    return edition && !saved.empty() && identificationsOf(*edition) != saved;
}

void editionReplaced(int slot) {
    IdentificationState& state = edits();
    state.saved[slot].clear();
    std::vector<IdentificationChange> kept;
    size_t applied = 0;
    for (size_t i = 0; i < state.changes.size(); ++i) {
        if (state.changes[i].slot == slot) continue;
        kept.push_back(state.changes[i]);
        if (i < state.applied) ++applied;
    }
    state.changes = std::move(kept);
    state.applied = applied;
}

void offerIdentifyChoices(int index, const int* entries, int count) {
    IdentifyChoices& choices = edits().choices;
    const Constellation* constellation = currentConstellation();
    if (!constellation || !theApp.reference || index < 0 ||
        index >= int(constellation->stars.size())) {
        clearIdentifyChoices();
        return;
    }
    choices = {theApp.catalogs.current, {theApp.constellation, index}, {}};
    const AncientStar& star = constellation->stars[size_t(index)];
    const std::string subject = formatText("Identify %d %s %d with ", star.catalogNumber,
                                           constellation->name.c_str(), index + 1);
    std::vector<std::string> texts;
    for (int k = 0; k < count; ++k) {
        const ReferenceStar& reference = theApp.reference->stars[entries[k]];
        choices.references.push_back(reference.number);
        texts.push_back(subject + formatText("%d %s", reference.number, reference.name));
    }
    choices.references.push_back(0);
    texts.push_back(subject + "no star");
    for (size_t k = 0; k < texts.size(); ++k)
        if (choices.references[k] == star.identification) texts[k] += " (as now)";
    platformNearestStarsSetChoices(texts);
}

void clearIdentifyChoices() {
    edits().choices = IdentifyChoices();
    platformNearestStarsSetChoices({});
}

void chooseIdentification(int choice) {
    const IdentifyChoices choices = edits().choices;
    if (choices.slot < 0 || choice < 0 || choice >= int(choices.references.size())) return;
    identifyStar(choices.slot, choices.star, choices.references[size_t(choice)]);
}

bool saveCurrentCatalogAs() { return saveEditionAs(theApp.catalogs.current); }

bool mayCloseWithChanges() {
    std::vector<int> changed;
    std::string names;
    for (int slot = 0; slot < kEditionSlotCount; ++slot) {
        if (!editionChanged(slot)) continue;
        names += (changed.empty() ? "" : ", ") + std::string(editionName(*theApp.catalogs.slots[slot]));
        changed.push_back(slot);
    }
    if (changed.empty()) return true;
    const std::string question =
        "Identifications were changed in " + names + ".\nSave the changes before closing?";
    switch (platformQuestionBox(question.c_str(), kProgramCaption, {"Save", "Discard", "Cancel"})) {
        case 0:
            for (int slot : changed)
                if (!saveEditionAs(slot)) return false;
            return true;
        case 1: return true;
        default: return false;
    }
}

std::string windowTitleText() {
    const int slot = theApp.catalogs.current;
    const AncientCatalog* edition = theApp.catalogs.slots[slot].get();
    if (!edition || !editionChanged(slot)) return kProgramCaption;
    return std::string(editionName(*edition)) + kChangedMark + " - " + kProgramCaption;
}

void refreshWindowTitle() {
    std::string title = windowTitleText();
    if (title == edits().windowTitle) return;
    edits().windowTitle = title;
    platformSetWindowTitle(title.c_str());
}
