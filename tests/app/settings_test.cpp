#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <random>
#include <sstream>

#include "app/settings.h"
#include "app/shell.h"
#include "app/startup.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

constexpr ScreenRect kDefaultRect = {0, 0, 1120, 896};

struct Defaults {
    SettingsValues values;
    ColorTable colors;
    Defaults() { setDefaultSettings(kDefaultRect, values, colors); }
};

double deg(float radians) { return radians * kRadToDeg; }

// Reads `text` as a settings file over the defaults.
Defaults readText(const TempDir& dir, const std::string& text) {
    Defaults read;
    std::string path = dir.path("maridon.cfg");
    EXPECT_TRUE(writeTextFile(path, text));
    EXPECT_TRUE(readSettingsFile(path.c_str(), read.values, read.colors));
    return read;
}

void expectSameView(const ConView& a, const ConView& b) {
    EXPECT_EQ(a.viewLon, b.viewLon);
    EXPECT_EQ(a.viewLat, b.viewLat);
    EXPECT_EQ(a.roll, b.roll);
    EXPECT_EQ(a.focalScale, b.focalScale);
    EXPECT_EQ(a.shiftLon, b.shiftLon);
    EXPECT_EQ(a.shiftLat, b.shiftLat);
}

}  // namespace

TEST(SettingsFile, DefaultsWrittenForA1280By1024WorkArea) {
    TempDir dir;
    Defaults defaults;
    ScreenRect rect = defaultWindowRect({0, 0, 1280, 1024});
    EXPECT_EQ(rect.right, 1120);
    EXPECT_EQ(rect.bottom, 896);
    defaults.values.windowRect = rect;
    std::string path = dir.path("maridon.cfg");
    ASSERT_TRUE(writeSettings(path.c_str(), defaults.values, defaults.colors));
    std::string text = readWholeFile(path);
    const std::string start =
        "WindowRect 0 0 1120 896\n"
        "GridColor 32 32 64\n"
        "LabelColor 64 96 64\n"
        "EqGridColor 64 32 32\n"
        "Epoch 1771298.000000\n"
        "POffsets 0.000000 0.000000\n"
        "ConViewArray\n"
        "    80.0  73.0   0.0   8.0   0.8  -0.3\n"
        "   116.0  38.0   0.0   4.5   1.1   0.4\n"
        "   115.0  79.0   0.0   4.5   0.5   0.0\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    std::istringstream lines(text);
    std::string line, last;
    int count = 0;
    while (std::getline(lines, line)) ++count, last = line;
    EXPECT_EQ(count, 7 + kConstellationCount);
    EXPECT_EQ(last, "   293.0 -20.0   0.0   8.0   1.0  -1.0");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(SettingsFile, WrittenValuesReadBackToTheFilesPrecision) {
    TempDir dir;
    Defaults written;
    written.values.windowRect = {-40, 25, 900, 700};
    setColor(written.colors, ColorEclipticGrid, makeColor(1, 2, 3));
    setColor(written.colors, ColorNumbers, makeColor(200, 150, 100));
    setColor(written.colors, ColorEquatorialGrid, makeColor(255, 0, 128));
    written.values.epoch = {1673941.25, float(1.5 * kDegToRad), float(-0.25 * kDegToRad)};
    for (int i = 0; i < kConstellationCount; ++i) {
        ConView& v = written.values.views[i];
        v.viewLon = float((i * 7.3) * kDegToRad);
        v.viewLat = float((-80 + i * 3.4) * kDegToRad);
        v.roll = float((i - 20) * 1.1 * kDegToRad);
        v.focalScale = 2.5f + i * 0.2f;
        v.shiftLon = float(-i * 0.1 * kDegToRad);
        v.shiftLat = float(0.05 * i * kDegToRad);
    }
    std::string path = dir.path("maridon.cfg");
    ASSERT_TRUE(writeSettings(path.c_str(), written.values, written.colors));

    Defaults read;
    ASSERT_TRUE(readSettingsFile(path.c_str(), read.values, read.colors));
    EXPECT_EQ(read.values.windowRect.left, -40);
    EXPECT_EQ(read.values.windowRect.top, 25);
    EXPECT_EQ(read.values.windowRect.right, 900);
    EXPECT_EQ(read.values.windowRect.bottom, 700);
    for (int entry : {ColorNumbers, ColorEclipticGrid, ColorEquatorialGrid, ColorEquatorialText})
        EXPECT_EQ(getColor(read.colors, entry), getColor(written.colors, entry)) << entry;
    EXPECT_DOUBLE_EQ(read.values.epoch.epoch, 1673941.25);
    EXPECT_NEAR(deg(read.values.epoch.offsetLon), 1.5, 1e-6);
    EXPECT_NEAR(deg(read.values.epoch.offsetLat), -0.25, 1e-6);
    for (int i = 0; i < kConstellationCount; ++i) {
        const ConView& a = read.values.views[i];
        const ConView& b = written.values.views[i];
        // One decimal in the file: within a twentieth of a degree (and of the focal scale).
        EXPECT_NEAR(deg(a.viewLon), deg(b.viewLon), 0.05 + 1e-4) << i;
        EXPECT_NEAR(deg(a.viewLat), deg(b.viewLat), 0.05 + 1e-4) << i;
        EXPECT_NEAR(deg(a.roll), deg(b.roll), 0.05 + 1e-4) << i;
        EXPECT_NEAR(a.focalScale, b.focalScale, 0.05 + 1e-4) << i;
        EXPECT_NEAR(deg(a.shiftLon), deg(b.shiftLon), 0.05 + 1e-4) << i;
        EXPECT_NEAR(deg(a.shiftLat), deg(b.shiftLat), 0.05 + 1e-4) << i;
    }
}

TEST(SettingsFile, KeyLinesAreReadAsTheRulesSay) {
    TempDir dir;
    Defaults defaults;
    // Only an epoch: everything else keeps its default.
    Defaults epochOnly = readText(dir, "Epoch 1673941\n");
    EXPECT_DOUBLE_EQ(epochOnly.values.epoch.epoch, 1673941.0);
    EXPECT_EQ(epochOnly.values.epoch.offsetLon, 0.0f);
    EXPECT_EQ(epochOnly.values.windowRect.right, kDefaultRect.right);
    EXPECT_EQ(getColor(epochOnly.colors, ColorEclipticGrid), kDefaultEclipticGridColor);
    for (int i = 0; i < kConstellationCount; ++i)
        expectSameView(epochOnly.values.views[i], defaults.values.views[i]);

    // Keys are case-sensitive; the last occurrence wins; colours keep their low 8 bits.
    Defaults rules = readText(dir,
                              "windowrect 5 5 300 300\n"
                              "Epoch 1700000\n"
                              "GridColor 300 0 -1\n"
                              "Epoch 1600000.5\n"
                              "EqGridColor 0 0 0\n");
    EXPECT_EQ(rules.values.windowRect.left, kDefaultRect.left);
    EXPECT_EQ(rules.values.windowRect.right, kDefaultRect.right);
    EXPECT_DOUBLE_EQ(rules.values.epoch.epoch, 1600000.5);
    EXPECT_EQ(getColor(rules.colors, ColorEclipticGrid), makeColor(44, 0, 255));
    EXPECT_EQ(getColor(rules.colors, ColorEquatorialText), makeColor(127, 127, 127));

    // Blanks separate tokens, tabs do not; carriage returns are cut; empty lines are skipped.
    Defaults blanks = readText(dir,
                               "\r\n"
                               "\n"
                               "POffsets    2.5   -1\r\n"
                               "Epoch\t1500000\n"
                               "LabelColor 1 2 3 99 trailing\r\n");
    EXPECT_NEAR(deg(blanks.values.epoch.offsetLon), 2.5, 1e-6);
    EXPECT_NEAR(deg(blanks.values.epoch.offsetLat), -1.0, 1e-6);
    EXPECT_DOUBLE_EQ(blanks.values.epoch.epoch, 1771298.0);
    EXPECT_EQ(getColor(blanks.colors, ColorNumbers), makeColor(1, 2, 3));

    // A line is read in pieces of 127 characters: the rest of a longer line is a line of its own.
    Defaults rest = readText(dir, std::string(127, 'x') + "Epoch 1234567\n");
    EXPECT_DOUBLE_EQ(rest.values.epoch.epoch, 1234567.0);
    // A line of exactly 126 characters is whole; of 127, its line end comes as an empty line.
    Defaults whole = readText(dir, std::string(126, 'y') + "\n" + std::string(127, 'x') +
                                       "\nEpoch 7654321 z\n");
    EXPECT_DOUBLE_EQ(whole.values.epoch.epoch, 7654321.0);

    // A view row: degrees to radians except the focal scale; 359.96 is written as 360.0.
    Defaults rows = readText(dir, "ConViewArray\n   360.0 -91.5 12.0 0.5 -0.1 0.2\n");
    EXPECT_NEAR(deg(rows.values.views[0].viewLon), 360.0, 1e-4);
    EXPECT_NEAR(deg(rows.values.views[0].viewLat), -91.5, 1e-4);
    EXPECT_NEAR(deg(rows.values.views[0].roll), 12.0, 1e-4);
    EXPECT_EQ(rows.values.views[0].focalScale, 0.5f);
    EXPECT_NEAR(deg(rows.values.views[0].shiftLon), -0.1, 1e-6);
    EXPECT_NEAR(deg(rows.values.views[0].shiftLat), 0.2, 1e-6);
}

TEST(SettingsFile, ShortLinesAndShortBlocksKeepTheirDefaults) {
    TempDir dir;
    Defaults defaults;
    Defaults read = readText(dir,
                             "WindowRect 10 20\n"
                             "GridColor 99\n"
                             "POffsets 1\n"
                             "ConViewArray\n"
                             "   10.0 20.0 30.0 4.0 0.5 0.6\n"
                             "   11.0 21.0\n"
                             "\n"
                             "Epoch 1673941\n"
                             "   12.0 22.0 32.0 5.0 0.7 0.8\n");
    EXPECT_EQ(read.values.windowRect.left, 10);
    EXPECT_EQ(read.values.windowRect.top, 20);
    EXPECT_EQ(read.values.windowRect.right, kDefaultRect.right);
    EXPECT_EQ(read.values.windowRect.bottom, kDefaultRect.bottom);
    EXPECT_EQ(getColor(read.colors, ColorEclipticGrid), makeColor(99, 32, 64));
    EXPECT_NEAR(deg(read.values.epoch.offsetLon), 1.0, 1e-6);
    EXPECT_EQ(read.values.epoch.offsetLat, 0.0f);

    const ConView* views = read.values.views.data();
    EXPECT_NEAR(deg(views[0].viewLon), 10.0, 1e-4);
    EXPECT_EQ(views[0].focalScale, 4.0f);
    EXPECT_NEAR(deg(views[1].viewLon), 11.0, 1e-4);
    EXPECT_NEAR(deg(views[1].viewLat), 21.0, 1e-4);
    EXPECT_EQ(views[1].roll, defaults.values.views[1].roll);
    EXPECT_EQ(views[1].focalScale, defaults.values.views[1].focalScale);
    EXPECT_EQ(views[1].shiftLon, defaults.values.views[1].shiftLon);
    // The empty row is constellation 2, left as it was; the key line ends the block.
    expectSameView(views[2], defaults.values.views[2]);
    EXPECT_DOUBLE_EQ(read.values.epoch.epoch, 1673941.0);
    for (int i = 3; i < kConstellationCount; ++i) expectSameView(views[i], defaults.values.views[i]);

    // A block cut off by the end of the file.
    Defaults truncated = readText(dir, "ConViewArray\n   10.0 20.0 30.0 4.0 0.5 0.6\n   11.0 2");
    EXPECT_NEAR(deg(truncated.values.views[1].viewLat), 2.0, 1e-4);
    for (int i = 2; i < kConstellationCount; ++i)
        expectSameView(truncated.values.views[i], defaults.values.views[i]);
}

TEST(SettingsFile, CorruptFilesNeverCrashOrLeaveAViewThatCannotBeUndone) {
    TempDir dir;
    Defaults defaults;
    Defaults notFinite = readText(dir,
                                  "Epoch nan\n"
                                  "POffsets inf 1e999\n"
                                  "ConViewArray\n"
                                  "   nan 20.0 -inf 1e400 0.5 0.6\n");
    EXPECT_DOUBLE_EQ(notFinite.values.epoch.epoch, 1771298.0);
    EXPECT_EQ(notFinite.values.epoch.offsetLon, 0.0f);
    EXPECT_EQ(notFinite.values.epoch.offsetLat, 0.0f);
    EXPECT_EQ(notFinite.values.views[0].viewLon, defaults.values.views[0].viewLon);
    EXPECT_NEAR(deg(notFinite.values.views[0].viewLat), 20.0, 1e-4);
    EXPECT_EQ(notFinite.values.views[0].roll, defaults.values.views[0].roll);
    EXPECT_EQ(notFinite.values.views[0].focalScale, defaults.values.views[0].focalScale);

    // Integers beyond an int are held at its limits instead of overflowing.
    Defaults huge = readText(dir, "WindowRect -99999999999 0 99999999999 10\n");
    EXPECT_EQ(huge.values.windowRect.left, INT_MIN);
    EXPECT_EQ(huge.values.windowRect.right, INT_MAX);

    // Random bytes, with and without line ends and zero bytes, of many lengths.
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(size_t(random() % 3000), '\0');
        for (char& c : bytes) {
            unsigned r = random() % 300;
            c = r < 256 ? char(r) : "\n \r0123456789.-ConViewArray"[r % 27];
        }
        if (round % 3 == 0) bytes = "ConViewArray\n" + bytes;
        Defaults garbage = readText(dir, bytes);
        EXPECT_TRUE(std::isfinite(garbage.values.epoch.epoch));
        for (const ConView& view : garbage.values.views) {
            EXPECT_TRUE(std::isfinite(view.viewLon) && std::isfinite(view.viewLat) &&
                        std::isfinite(view.roll) && std::isfinite(view.focalScale) &&
                        std::isfinite(view.shiftLon) && std::isfinite(view.shiftLat));
        }
    }
}

TEST_F(ShellTest, WindowWithoutAreaFallsBackToTheDefaultRectangle) {
    SettingsValues values;
    ColorTable colors;
    std::string path;
    const std::string exe = exePath();
    ScreenRect fallback = {0, 0, 1120, 896};
    for (const char* line : {"WindowRect 100 100 100 500\n", "WindowRect 100 100 500 99\n",
                             "WindowRect -2147483648 0 2147483647 100\n"}) {
        ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), line));
        ASSERT_TRUE(readSettings(exe, fallback, path, values, colors));
        EXPECT_EQ(values.windowRect.left, 0) << line;
        EXPECT_EQ(values.windowRect.right, 1120) << line;
        EXPECT_EQ(values.windowRect.bottom, 896) << line;
    }
    // Off the screen, but with an area: used as it is.
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "WindowRect -5000 -5000 -4000 -4500\n"));
    ASSERT_TRUE(readSettings(exe, fallback, path, values, colors));
    EXPECT_EQ(values.windowRect.left, -5000);
    EXPECT_EQ(values.windowRect.bottom, -4500);
}

TEST_F(ShellTest, SettingsFileIsFoundInTheWorkingFolderFirstElseBesideTheProgram) {
    std::string path;
    // Nowhere: the path names the place beside the executable, where closing creates it.
    EXPECT_FALSE(locateSettingsFile(exePath(), path));
    EXPECT_EQ(path, programFile("maridon.cfg"));

    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "Epoch 1600000\n"));
    EXPECT_TRUE(locateSettingsFile(exePath(), path));
    EXPECT_EQ(path, programFile("maridon.cfg"));

    ASSERT_TRUE(writeTextFile(workFile("maridon.cfg"), "Epoch 1700000\n"));
    EXPECT_TRUE(locateSettingsFile(exePath(), path));
    EXPECT_EQ(path, "maridon.cfg");

    startProgram();
    EXPECT_DOUBLE_EQ(theApp.epoch.epoch, 1700000.0);
    onDestroy({1, 2, 801, 602});
    EXPECT_EQ(readWholeFile(workFile("maridon.cfg")).substr(0, 25), "WindowRect 1 2 801 602\nGr");
    EXPECT_EQ(readWholeFile(programFile("maridon.cfg")), "Epoch 1600000\n");
}

TEST_F(ShellTest, ClosingWithNoSettingsAnywhereCreatesThemBesideTheProgram) {
    startProgram();
    EXPECT_EQ(theApp.windowRect.right, 1120);
    EXPECT_EQ(theApp.windowRect.bottom, 896);
    onKeyDown(KeyEscape);
    EXPECT_EQ(fakePlatform().closeRequests, 1);
    EXPECT_TRUE(std::filesystem::exists(programFile("maridon.cfg")));
    EXPECT_FALSE(std::filesystem::exists(workFile("maridon.cfg")));
}

TEST_F(ShellTest, AFailedWriteLeavesThePreviousSettings) {
    const std::string old = "Epoch 1600000\n";
    ASSERT_TRUE(writeTextFile(workFile("maridon.cfg"), old));
    // The temporary file cannot be created where a folder of its name stands.
    std::filesystem::create_directory(workFile("maridon.cfg.tmp"));
    startProgram();
    EXPECT_FALSE(shutDown({0, 0, 100, 100}));
    EXPECT_EQ(readWholeFile(workFile("maridon.cfg")), old);
    // A folder that does not exist.
    Defaults defaults;
    EXPECT_FALSE(writeSettings(workFile("missing/maridon.cfg").c_str(), defaults.values, defaults.colors));
}
