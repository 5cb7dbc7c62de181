// Every command item of the popup menu does what its label alone says (its key, named command,
// colour or constellation), so two items swapped in the table fail here.
#include <functional>

#include "app/commands.h"
#include "app/navigation.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

namespace {

using Input = std::function<void()>;

// The input a label names, under its submenu; empty when the label names none.
Input inputNamedBy(const std::string& submenu, const std::string& label) {
    if (submenu.rfind("Constellations:", 0) == 0) {
        for (int c = 0; c < kConstellationCount; ++c)
            if (label == kConstellationTable[c].name) return [c] { selectConstellation(c); };
        return {};
    }
    if (submenu == "Colors") {
        for (auto [name, entry] : {std::pair{"Numbers", ColorNumbers},
                                   {"Ecliptic Grid", ColorEclipticGrid},
                                   {"Equatorial Grid", ColorEquatorialGrid}})
            if (label == name) return [entry = entry] { colorCommand(entry); };
        return {};
    }
    const std::pair<const char*, Input> named[] = {
        {"Default View", [] { onCharacter('V'); }},
        {"Default Shift", [] { onCharacter('S'); }},
        {"Zero Shift", [] { onCharacter(kCharacterCtrlS); }},
        {"Find...", [] { onCharacter(6); }},
        {"User Guide", [] { onCharacter('h'); }},
        {"Print...", [] { onCharacter('p'); }},
        {"Save Picture...", [] { onCharacter('i'); }},
        {"Save Catalog As...", [] { saveCurrentCatalogAs(); }},
        {"About", [] { onCharacter('a'); }},
        {"Exit", [] { onKeyDown(KeyEscape); }}};
    for (const auto& [name, input] : named)
        if (label == name) return input;
    // "F2  ..." is the key F2; "s  ..." the character s.
    if (label.size() > 4 && label[0] == 'F' && label.substr(2, 2) == "  ")
        return [key = KeyF1 + label[1] - '1'] { onKeyDown(key); };
    if (label.size() > 3 && label.substr(1, 2) == "  ") return [c = label[0]] { onCharacter(c); };
    return {};
}

}  // namespace

TEST_F(ShellTest, EveryMenuItemDoesWhatItsLabelSays) {
    ASSERT_NO_FATAL_FAILURE(start());
    // The services called, then the state an input may change, from edition 1, Ursa Minor off its
    // default view and shift, and three colours.
    auto outcome = [&](const Input& input, int mode) {
        setDefaultConViews(theApp.conViews);
        selectEdition(1), selectConstellation(0);
        theApp.displayFlags = kDefaultDisplayFlags, theApp.arrowMode = mode;
        applyView({0.01f, 0.02f, 0.3f, 0.4f, 0.1f, 5}, theApp.view, theApp.shift);
        viewUpdate(theApp.view);
        for (int entry : {ColorNumbers, ColorEclipticGrid, ColorEquatorialGrid})
            setColor(theApp.colors, entry, makeColor(entry, entry, entry));
        takeLog();
        input();
        std::string done;
        for (const std::string& line : takeLog()) done += line + "; ";
        const SkyView& v = theApp.view;
        return done + formatText("%02X %d %d %s %.3f %.3f %.3f %.3f %.3f %.3f", theApp.displayFlags,
                                 theApp.arrowMode, theApp.constellation,
                                 currentEditionName(theApp.catalogs).c_str(), v.centerLon,
                                 v.centerLat, v.roll, v.focalScale, theApp.shift.lon,
                                 theApp.shift.lat);
    };
    std::string submenu;
    int items = 0;
    for (int i = 0; i < kPopupMenuSize; ++i) {
        const PopupMenuEntry& entry = kPopupMenu[i];
        if (entry.kind == PopupSubmenu) submenu = entry.text;
        if (entry.kind != PopupCommand) continue;
        ++items;
        SCOPED_TRACE(submenu + ": " + entry.text);
        const Input labelled = inputNamedBy(submenu, entry.text);
        ASSERT_TRUE(labelled) << "the label names no input";
        const Input command = [&] { onCommand(entry.command); };
        for (int mode : {ArrowsMoveView, ArrowsMoveShift})
            EXPECT_EQ(outcome(command, mode), outcome(labelled, mode)) << mode;
    }
    // 48 constellations, 6 display elements, 3 colours, 5 arrow-key and 7 catalog items, 6 more.
    EXPECT_EQ(items, 75);
}
