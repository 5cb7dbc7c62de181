#include "app/commands.h"

#include <filesystem>

#include "app/identifications.h"
#include "app/find.h"
#include "app/navigation.h"
#include "app/platform_services.h"
#include "app/shell.h"
#include "app/state.h"
#include "app/statistics_window.h"
#include "app/status_text.h"
#include "catalog/edition_file.h"
#include "catalog/locator.h"
#include "catalog/precession.h"
#include "resources/popup_menu.h"

namespace {

constexpr int kDisplayElementCount = 6;
constexpr int kColorCommandBase = 1001;  // command = 1001 + colour table entry

// The folder of a path with its trailing separator, empty when the path names none.
std::string folderOf(const std::string& path) {
    size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

void characterCommand(int code) {
    switch (code) {
        case '1': case '2': case '3': case '4': case '5': case '6': toggleDisplayFlag(code - '0'); break;
        case kCharacterCtrlS: zeroShift(); break;
        case ',': case '<': adjustView(AdjustFocalScale, kZoomOutFactor); break;
        case '.': case '>': adjustView(AdjustFocalScale, kZoomInFactor); break;
        case 'S': defaultShift(); break;
        case 'V': defaultView(); break;
        case 'a': showAboutBox(); break;
        case 'c': replaceCurrentCatalog(); break;
        case 'e': setEpoch(); break;
        case 'h': showUserGuide(); break;
        case kCharacterSavePicture: savePicture(); break;
        case 'p': printView(); break;
        case 'q': toggleNearestStarsCoordinates(); break;
        case 's': setArrowMode(ArrowsMoveShift); break;
        case kCharacterStatistics: showStatisticsWindow(); break;
        case kCharacterUndo: undoOrRedo(); break;
        case kCharacterFind: findStar(); break;
        case 'v': setArrowMode(ArrowsMoveView); break;
    }
}

void menuCommand(int command) {
    if (command >= CmdFirstConstellation && command <= CmdLastConstellation) {
        selectConstellation(command - CmdFirstConstellation);
        return;
    }
    if (command >= CmdFirstDisplayElement && command <= CmdLastDisplayElement) {
        toggleDisplayFlag(command - (CmdFirstDisplayElement - 1));
        return;
    }
    if (command >= CmdIdentifyFirst && command <= CmdIdentifyLast) {
        chooseIdentification(command - CmdIdentifyFirst);
        return;
    }
    if (command >= CmdFirstEdition && command <= CmdLastEdition) {
        selectEdition(command - (CmdFirstEdition - 1));
        return;
    }
    switch (command) {
        case CmdArrowsMoveView: characterCommand('v'); break;
        case CmdArrowsMoveShift: characterCommand('s'); break;
        case CmdDefaultView: characterCommand('V'); break;
        case CmdDefaultShift: characterCommand('S'); break;
        case CmdZeroShift: characterCommand(kCharacterCtrlS); break;
        case CmdReplaceCatalog: characterCommand('c'); break;
        case CmdSetEpoch: characterCommand('e'); break;
        case CmdPrint: characterCommand('p'); break;
        case CmdSavePicture: characterCommand(kCharacterSavePicture); break;
        case CmdStatistics: characterCommand(kCharacterStatistics); break;
        case CmdSaveCatalogAs: saveCurrentCatalogAs(); break;
        case CmdStatisticsFitEpoch: fitStatisticsEpoch(); break;
        case CmdStatisticsApplyOffsets: applyStatisticsOffsets(); break;
        case CmdStatisticsApplyEpochFit: applyStatisticsEpochFit(); break;
        case CmdFind: characterCommand(kCharacterFind); break;
        case CmdAbout: showAboutBox(); break;
        case CmdExit: keyDown(KeyEscape); break;
        case CmdColorNumbers:
        case CmdColorEclipticGrid:
        case CmdColorEquatorialGrid: colorCommand(command - kColorCommandBase); break;
        case CmdUserGuide: characterCommand('h'); break;
    }
}

void showPopupMenu(int x, int y) {
    for (int n = 1; n <= kDisplayElementCount; ++n)
        platformSetMenuCheck(CmdFirstDisplayElement - 1 + n, (theApp.displayFlags >> (n - 1)) & 1);
    platformSetMenuCheck(CmdArrowsMoveView, theApp.arrowMode == ArrowsMoveView);
    platformSetMenuCheck(CmdArrowsMoveShift, theApp.arrowMode == ArrowsMoveShift);
    for (int slot = 1; slot <= kEditionSlotCount; ++slot) {
        const AncientCatalog* edition = theApp.catalogs.slots[slot - 1].get();
        std::string text = formatText("F%d  %s%s", slot, edition ? edition->name.c_str() : "",
                                      editionChanged(slot - 1) ? kChangedMark : "");
        platformSetMenuText(CmdFirstEdition - 1 + slot, text.c_str());
    }
    platformTrackPopupMenu(x, y);
}

void toggleDisplayFlag(int n) {
    if (n < 1 || n > kDisplayElementCount) return;
    theApp.displayFlags ^= 1 << (n - 1);
    platformRepaint();
}

void setArrowMode(int mode) {
    theApp.arrowMode = mode;
    drawStatusLine();
}

void colorCommand(int entry) {
    Color chosen;
    if (!platformChooseColor(getColor(theApp.colors, entry), theApp.customColors, chosen)) return;
    setColor(theApp.colors, entry, chosen);
    platformRepaint();
}

int replaceCurrentCatalog() {
    CatalogSet& set = theApp.catalogs;
    if (!currentEdition(set)) return 0;
    std::string path;
    if (!chooseFile(kCatalogFilePattern, kFileDialogTitle, path)) return 0;
    if (!replaceEdition(set, path.c_str())) {
        platformMessageBox(kNewCatalogFailedMessage, kProgramCaption);
        return 0;
    }
    forgetStatisticsFit();
    editionReplaced(set.current);
    selectEdition(set.current + 1);
    return 1;
}

bool chooseFile(const char* pattern, const char* title, std::string& path) {
    std::string chosen;
    if (!platformChooseFile(title, pattern, theApp.lastOpenDir, chosen)) return false;
    theApp.lastOpenDir = folderOf(chosen);
    path = chosen;
    return true;
}

void showUserGuide() {
    std::string path;
    if (locateDataFileBeside(kUserGuideName, theApp.executablePath, path)) platformOpenDocument(path);
}

void setEpoch() {
    EpochSetting chosen = theApp.epoch;
    if (platformEpochDialog(chosen)) applyEpochSetting(chosen);
}

void applyEpochSetting(const EpochSetting& setting) {
    theApp.epoch = setting;
    theApp.find.ringShown = false;  // it marks a place the stars leave
    if (theApp.reference) applyEpoch(*theApp.reference, theApp.epoch.epoch);
    handNearestStarsMode();
    platformRepaint();
}

void savePicture() {
    const Constellation* constellation = currentConstellation();
    if (!catalogsLoaded() || !constellation) return;
    std::string path;
    const std::string suggested = constellation->name + kPictureFileSuffix;
    if (!platformChooseSaveFile(kSavePictureTitle, kPictureFileFilter, suggested.c_str(), path) ||
        !mayReplaceFile(path))
        return;
    const RenderRequest request = makeRenderRequest();
    if (!platformSavePicture(request, theApp.colors, theApp.starColors, path))
        platformMessageBox(kPictureFailedMessage, kProgramCaption);
}

bool mayReplaceFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return true;
    const std::string question =
        std::filesystem::path(path).filename().string() + " already exists.\nDo you want to replace it?";
    return platformQuestionBox(question.c_str(), kProgramCaption, {"Replace", "Cancel"}) == 0;
}

void showAboutBox() { platformShowAboutBox(0); }
