#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <random>

#include "app/settings.h"
#include "app/shell.h"
#include "app/startup.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

constexpr ScreenRect kDefaultRect = {0, 0, 1120, 896};

struct Settings {
    SettingsValues values;
    ColorTable colors;
    Settings() { setDefaultSettings(kDefaultRect, values, colors); }
};

std::array<int, 4> corners(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A saved view in the file's order and units: view longitude, latitude, roll, focal scale,
// shift longitude, latitude.
std::array<double, 6> row(const ConView& v) {
    return {v.viewLon * kRadToDeg, v.viewLat * kRadToDeg, v.roll * kRadToDeg, v.focalScale,
            v.shiftLon * kRadToDeg, v.shiftLat * kRadToDeg};
}

void expectRow(const ConView& view, const std::array<double, 6>& expected, double tolerance) {
    std::array<double, 6> actual = row(view);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "value " << i;
}

// Reads `text` as a settings file over the defaults.
Settings readText(const TempDir& dir, const std::string& text) {
    Settings read;
    std::string path = dir.path("maridon.cfg");
    EXPECT_TRUE(writeTextFile(path, text));
    EXPECT_TRUE(readSettingsFile(path.c_str(), read.values, read.colors));
    return read;
}

void expectDefaultViewsFrom(const Settings& read, int first) {
    for (int i = first; i < kConstellationCount; ++i)
        EXPECT_EQ(row(read.values.views[i]), row(defaultConView(i))) << "constellation " << i;
}

}  // namespace

TEST(SettingsFile, DefaultsWrittenForA1280By1024WorkArea) {
    TempDir dir;
    Settings defaults;
    defaults.values.windowRect = defaultWindowRect({0, 0, 1280, 1024});
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
    const std::string end = "\n   293.0 -20.0   0.0   8.0   1.0  -1.0\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7 + kConstellationCount);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(SettingsFile, WrittenValuesReadBackToTheFilesPrecision) {
    TempDir dir;
    Settings written;
    written.values.windowRect = {-40, 25, 900, 700};
    setColor(written.colors, ColorEclipticGrid, makeColor(1, 2, 3));
    setColor(written.colors, ColorNumbers, makeColor(200, 150, 100));
    setColor(written.colors, ColorEquatorialGrid, makeColor(255, 0, 128));
    written.values.epoch = {1673941.25, float(1.5 * kDegToRad), float(-0.25 * kDegToRad)};
    for (int i = 0; i < kConstellationCount; ++i) {
        auto radians = [](double degrees) { return float(degrees * kDegToRad); };
        written.values.views[i] = {radians(-i * 0.1), radians(0.05 * i), radians(i * 7.3),
                                   radians(-80 + i * 3.4), radians((i - 20) * 1.1), 2.5f + i * 0.2f};
    }
    std::string path = dir.path("maridon.cfg");
    ASSERT_TRUE(writeSettings(path.c_str(), written.values, written.colors));

    Settings read;
    ASSERT_TRUE(readSettingsFile(path.c_str(), read.values, read.colors));
    EXPECT_EQ(corners(read.values.windowRect), corners(written.values.windowRect));
    for (int entry : {ColorNumbers, ColorEclipticGrid, ColorEquatorialGrid, ColorEquatorialText})
        EXPECT_EQ(getColor(read.colors, entry), getColor(written.colors, entry)) << entry;
    EXPECT_DOUBLE_EQ(read.values.epoch.epoch, 1673941.25);
    EXPECT_NEAR(read.values.epoch.offsetLon * kRadToDeg, 1.5, 1e-6);
    EXPECT_NEAR(read.values.epoch.offsetLat * kRadToDeg, -0.25, 1e-6);
    // One decimal in the file: within a twentieth of a degree (and of the focal scale).
    for (int i = 0; i < kConstellationCount; ++i)
        expectRow(read.values.views[i], row(written.values.views[i]), 0.0501);
}

TEST(SettingsFile, KeyLinesAreReadAsTheRulesSay) {
    TempDir dir;
    // Only an epoch: everything else keeps its default.
    Settings epochOnly = readText(dir, "Epoch 1673941\n");
    EXPECT_DOUBLE_EQ(epochOnly.values.epoch.epoch, 1673941.0);
    EXPECT_EQ(epochOnly.values.epoch.offsetLon, 0.0f);
    EXPECT_EQ(corners(epochOnly.values.windowRect), corners(kDefaultRect));
    EXPECT_EQ(getColor(epochOnly.colors, ColorEclipticGrid), kDefaultEclipticGridColor);
    expectDefaultViewsFrom(epochOnly, 0);

    // Keys are case-sensitive; the last occurrence wins; colours keep their low 8 bits.
    Settings rules = readText(dir,
                              "windowrect 5 5 300 300\n"
                              "Epoch 1700000\n"
                              "GridColor 300 0 -1\n"
                              "Epoch 1600000.5\n"
                              "EqGridColor 0 0 0\n");
    EXPECT_EQ(corners(rules.values.windowRect), corners(kDefaultRect));
    EXPECT_DOUBLE_EQ(rules.values.epoch.epoch, 1600000.5);
    EXPECT_EQ(getColor(rules.colors, ColorEclipticGrid), makeColor(44, 0, 255));
    EXPECT_EQ(getColor(rules.colors, ColorEquatorialText), makeColor(127, 127, 127));

    // Blanks separate tokens, tabs do not; carriage returns are cut; empty lines are skipped.
    Settings blanks = readText(dir, "\r\n\nPOffsets    2.5   -1\r\nEpoch\t1500000\nLabelColor 1 2 3 9 x\r\n");
    EXPECT_NEAR(blanks.values.epoch.offsetLon * kRadToDeg, 2.5, 1e-6);
    EXPECT_NEAR(blanks.values.epoch.offsetLat * kRadToDeg, -1.0, 1e-6);
    EXPECT_DOUBLE_EQ(blanks.values.epoch.epoch, 1771298.0);
    EXPECT_EQ(getColor(blanks.colors, ColorNumbers), makeColor(1, 2, 3));

    // A line is read in pieces of 127 characters: the rest of a longer line is a line of its own.
    Settings rest = readText(dir, std::string(127, 'x') + "Epoch 1234567\n");
    EXPECT_DOUBLE_EQ(rest.values.epoch.epoch, 1234567.0);

    // A view row: degrees to radians except the focal scale.
    Settings rows = readText(dir, "ConViewArray\n   360.0 -91.5 12.0 0.5 -0.1 0.2\n");
    expectRow(rows.values.views[0], {360.0, -91.5, 12.0, 0.5, -0.1, 0.2}, 1e-4);
}

TEST(SettingsFile, ShortLinesAndShortBlocksKeepTheirDefaults) {
    TempDir dir;
    Settings read = readText(dir,
                             "WindowRect 10 20\n"
                             "GridColor 99\n"
                             "POffsets 1\n"
                             "ConViewArray\n"
                             "   10.0 20.0 30.0 4.0 0.5 0.6\n"
                             "   11.0 21.0\n"
                             "\n"
                             "Epoch 1673941\n"
                             "   12.0 22.0 32.0 5.0 0.7 0.8\n");
    EXPECT_EQ(corners(read.values.windowRect), (std::array<int, 4>{10, 20, 1120, 896}));
    EXPECT_EQ(getColor(read.colors, ColorEclipticGrid), makeColor(99, 32, 64));
    EXPECT_NEAR(read.values.epoch.offsetLon * kRadToDeg, 1.0, 1e-6);
    EXPECT_EQ(read.values.epoch.offsetLat, 0.0f);
    expectRow(read.values.views[0], {10, 20, 30, 4, 0.5, 0.6}, 1e-4);
    std::array<double, 6> second = row(defaultConView(1));
    second[0] = 11, second[1] = 21;
    expectRow(read.values.views[1], second, 1e-4);
    // The empty row is constellation 2's and changes nothing; the key line ends the block.
    EXPECT_DOUBLE_EQ(read.values.epoch.epoch, 1673941.0);
    expectDefaultViewsFrom(read, 2);

    // A block cut off by the end of the file.
    Settings truncated = readText(dir, "ConViewArray\n   10.0 20.0 30.0 4.0 0.5 0.6\n   11.0 2");
    EXPECT_NEAR(truncated.values.views[1].viewLat * kRadToDeg, 2.0, 1e-4);
    expectDefaultViewsFrom(truncated, 2);
}

TEST(SettingsFile, CorruptFilesNeverCrashOrLeaveAViewThatCannotBeUndone) {
    TempDir dir;
    // Values that are no finite number keep their defaults.
    Settings notFinite = readText(dir, "Epoch nan\nPOffsets inf 1e999\nConViewArray\n"
                                       "   nan 20.0 -inf 1e400 0.5 0.6\n");
    EXPECT_DOUBLE_EQ(notFinite.values.epoch.epoch, 1771298.0);
    EXPECT_EQ(notFinite.values.epoch.offsetLon, 0.0f);
    EXPECT_EQ(notFinite.values.epoch.offsetLat, 0.0f);
    std::array<double, 6> first = row(defaultConView(0));
    first[1] = 20, first[4] = 0.5, first[5] = 0.6;
    expectRow(notFinite.values.views[0], first, 1e-4);

    // Integers beyond an int are held at its limits instead of overflowing.
    Settings huge = readText(dir, "WindowRect -99999999999 0 99999999999 10\n");
    EXPECT_EQ(corners(huge.values.windowRect), (std::array<int, 4>{INT_MIN, 0, INT_MAX, 10}));

    // Random bytes, with and without line ends and zero bytes, of many lengths.
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(size_t(random() % 3000), '\0');
        for (char& c : bytes) {
            unsigned r = random() % 300;
            c = r < 256 ? char(r) : "\n \r0123456789.-ConViewArray"[r % 27];
        }
        if (round % 3 == 0) bytes = "ConViewArray\n" + bytes;
        Settings garbage = readText(dir, bytes);
        EXPECT_TRUE(std::isfinite(garbage.values.epoch.epoch));
        for (const ConView& view : garbage.values.views)
            for (double value : row(view)) ASSERT_TRUE(std::isfinite(value)) << round;
    }
}

TEST_F(ShellTest, WindowWithoutAreaFallsBackToTheDefaultRectangle) {
    SettingsValues values;
    ColorTable colors;
    std::string path;
    for (const char* line : {"WindowRect 100 100 100 500\n", "WindowRect 100 100 500 99\n",
                             "WindowRect -2147483648 0 2147483647 100\n"}) {
        ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), line));
        ASSERT_TRUE(readSettings(exePath(), kDefaultRect, path, values, colors));
        EXPECT_EQ(corners(values.windowRect), corners(kDefaultRect)) << line;
    }
    // Off the screen, but with an area: used as it is.
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "WindowRect -5000 -5000 -4000 -4500\n"));
    ASSERT_TRUE(readSettings(exePath(), kDefaultRect, path, values, colors));
    EXPECT_EQ(corners(values.windowRect), (std::array<int, 4>{-5000, -5000, -4000, -4500}));
}

TEST_F(ShellTest, SettingsAreFoundInTheWorkingFolderFirstElseBesideTheProgram) {
    std::string path;
    // Nowhere: the path names the place beside the executable, where closing creates it.
    EXPECT_FALSE(locateSettingsFile(exePath(), path));
    EXPECT_EQ(path, programFile("maridon.cfg"));
    startProgram();
    onKeyDown(KeyEscape);
    EXPECT_EQ(fakePlatform().closeRequests, 1);
    EXPECT_TRUE(std::filesystem::exists(programFile("maridon.cfg")));

    // One in the working folder wins, and it is the one rewritten.
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "Epoch 1600000\n"));
    ASSERT_TRUE(writeTextFile(workFile("maridon.cfg"), "Epoch 1700000\n"));
    EXPECT_TRUE(locateSettingsFile(exePath(), path));
    EXPECT_EQ(path, "maridon.cfg");
    resetAppState();
    startProgram();
    EXPECT_DOUBLE_EQ(theApp.epoch.epoch, 1700000.0);
    onDestroy({1, 2, 801, 602});
    EXPECT_EQ(readWholeFile(workFile("maridon.cfg")).substr(0, 23), "WindowRect 1 2 801 602\n");
    EXPECT_EQ(readWholeFile(programFile("maridon.cfg")), "Epoch 1600000\n");
}

TEST_F(ShellTest, AFailedWriteLeavesThePreviousSettings) {
    const std::string old = "Epoch 1600000\n";
    ASSERT_TRUE(writeTextFile(workFile("maridon.cfg"), old));
    // The temporary file cannot be created where a folder of its name stands.
    std::filesystem::create_directory(workFile("maridon.cfg.tmp"));
    startProgram();
    EXPECT_FALSE(shutDown({0, 0, 100, 100}));
    EXPECT_EQ(readWholeFile(workFile("maridon.cfg")), old);
    Settings defaults;
    EXPECT_FALSE(writeSettings(workFile("missing/maridon.cfg").c_str(), defaults.values, defaults.colors));
}
