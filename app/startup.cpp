#include "app/startup.h"

#include <new>

#include "app/commands.h"
#include "app/settings.h"
#include "app/shell.h"
#include "app/state.h"
#include "catalog/edition_file.h"
#include "catalog/locator.h"
#include "catalog/precession.h"
#include "catalog/reference_file.h"

namespace {

bool loadReferenceCatalog() {
    std::string path;
    if (!locateDataFileBeside(kReferenceFileName, theApp.executablePath, path)) return false;
    std::unique_ptr<ReferenceCatalog> catalog(new (std::nothrow) ReferenceCatalog);
    if (!catalog || !readReferenceCatalog(path.c_str(), *catalog)) return false;
    applyEpoch(*catalog, theApp.epoch.epoch);
    theApp.reference = std::move(catalog);
    return true;
}

bool loadEditions() {
    for (int slot = 0; slot < kEditionSlotCount; ++slot) {
        std::string path;
        if (!locateDataFileBeside(kEditionFileNames[slot], theApp.executablePath, path)) return false;
        theApp.catalogs.slots[slot] = readEdition(path.c_str());
        if (!theApp.catalogs.slots[slot]) return false;
    }
    return true;
}

SettingsValues currentSettings(const ScreenRect& outerRect) {
    return {outerRect, theApp.conViews, theApp.epoch};
}

}  // namespace

bool loadCatalogs() {
    buildStarColors(theApp.starColors);
    if (!loadReferenceCatalog() || !loadEditions()) return false;
    theApp.catalogs.current = 0;
    theApp.constellation = 0;
    applyView(theApp.conViews[0], theApp.view, theApp.shift);
    viewUpdate(theApp.view);
    return true;
}

bool startUp(const std::string& exePath) {
    theApp.executablePath = exePath;
    SettingsValues settings;
    readSettings(exePath, defaultWindowRect(platformWorkArea()), theApp.settingsPath, settings,
                 theApp.colors);
    theApp.windowRect = settings.windowRect;
    theApp.conViews = settings.views;
    theApp.epoch = settings.epoch;
    handNearestStarsMode();
    if (!loadCatalogs()) {
        platformMessageBox(kCatalogsFailedMessage, kProgramCaption);
        return false;
    }
    return true;
}

bool shutDown(const ScreenRect& outerRect) {
    storeView(theApp.conViews[theApp.constellation], theApp.view, theApp.shift);
    // An installed program's folder under the user's configuration folder may not be there yet.
    if (!makeFolderOf(theApp.settingsPath)) return false;
    return writeSettings(theApp.settingsPath.c_str(), currentSettings(outerRect), theApp.colors);
}
