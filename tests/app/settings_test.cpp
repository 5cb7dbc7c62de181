// The settings file "maridon.cfg": what is written, how key lines are read, where it is found.
#include <cmath>

#include "app/settings.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

constexpr ScreenRect kDefaultRect = {0, 0, 1120, 896};

struct Settings {
    SettingsValues values;
    ColorTable colors;
    Settings() { setDefaultSettings(kDefaultRect, values, colors); }
};

// What differs from the defaults, in the file's units; views to one decimal, as the file has them.
std::string changes(const Settings& s) {
    const Settings d;
    std::string out;
    auto add = [&](const std::string& part) { out += (out.empty() ? "" : ", ") + part; };
    const ScreenRect& r = s.values.windowRect;
    if (r.left || r.top || r.right != 1120 || r.bottom != 896)
        add(formatText("rect %d %d %d %d", r.left, r.top, r.right, r.bottom));
    for (auto [entry, name] : {std::pair{ColorEclipticGrid, "grid"}, {ColorNumbers, "label"},
                               {ColorEquatorialGrid, "eq"}, {ColorEquatorialText, "eqtext"}}) {
        Color c = getColor(s.colors, entry);
        if (c != getColor(d.colors, entry))
            add(formatText("%s %d %d %d", name, colorRed(c), colorGreen(c), colorBlue(c)));
    }
    const EpochSetting& e = s.values.epoch;
    if (e.epoch != d.values.epoch.epoch) add(formatText("epoch %.2f", e.epoch));
    if (e.offsetLon || e.offsetLat)
        add(formatText("offsets %.3f %.3f", e.offsetLon * kRadToDeg, e.offsetLat * kRadToDeg));
    auto row = [](const ConView& v) {
        return formatText("%.1f %.1f %.1f %.1f %.1f %.1f", v.viewLon * kRadToDeg,
                          v.viewLat * kRadToDeg, v.roll * kRadToDeg, v.focalScale,
                          v.shiftLon * kRadToDeg, v.shiftLat * kRadToDeg);
    };
    for (int i = 0; i < kConstellationCount; ++i)
        if (row(s.values.views[i]) != row(d.values.views[i]))
            add(formatText("view%d ", i) + row(s.values.views[i]));
    return out;
}

Settings readText(const TempDir& dir, const std::string& text) {
    Settings read;
    EXPECT_TRUE(writeTextFile(dir.path("maridon.cfg"), text));
    EXPECT_TRUE(readSettingsFile(dir.path("maridon.cfg").c_str(), read.values, read.colors));
    return read;
}

}  // namespace

TEST(SettingsFile, DefaultsAreWrittenAsKeyLinesAndValuesComeBackToTheFilesPrecision) {
    TempDir dir;
    Settings written;
    const std::string path = dir.path("maridon.cfg");
    auto rewrite = [&] {
        EXPECT_TRUE(writeSettings(path.c_str(), written.values, written.colors));
        return readText(dir, readWholeFile(path));
    };
    ASSERT_TRUE(writeSettings(path.c_str(), written.values, written.colors));
    const std::string text = readWholeFile(path);
    const std::string start =
        "WindowRect 0 0 1120 896\nGridColor 32 32 64\nLabelColor 64 96 64\nEqGridColor 64 32 32\n"
        "Epoch 1771298.000000\nPOffsets 0.000000 0.000000\nConViewArray\n"
        "    80.0  73.0   0.0   8.0   0.8  -0.3\n   116.0  38.0   0.0   4.5   1.1   0.4\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.substr(text.size() - 40), "\n   293.0 -20.0   0.0   8.0   1.0  -1.0\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7 + kConstellationCount);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    // Other values written over the old file read back as they were written.
    written.values.windowRect = {-40, 25, 900, 700};
    setColor(written.colors, ColorEclipticGrid, makeColor(1, 2, 3));
    setColor(written.colors, ColorNumbers, makeColor(200, 150, 100));
    setColor(written.colors, ColorEquatorialGrid, makeColor(255, 0, 128));
    written.values.epoch = {1673941.25, float(1.5 * kDegToRad), float(-0.25 * kDegToRad)};
    auto rad = [](double degrees) { return float(degrees * kDegToRad); };
    for (int i = 0; i < kConstellationCount; ++i)
        written.values.views[i] = {rad((i - 20) * 1.1), rad(2.26), rad(-i * 0.1),
                                   rad(-80 + i * 3.4), rad(i * 7.3), 2.5f + i * 0.21f};
    EXPECT_EQ(changes(rewrite()), changes(written));
    // Values no fixed notation fits in a line come back whole, and so do the rows after them.
    const float big = -1.23456789e36f;
    written.values.epoch = {-1.2345678901234567e300, -3.4e38f, 0};
    written.values.views[3] = {big, big, big, big, big, 3.4e38f};
    const Settings huge = rewrite();
    EXPECT_EQ(std::make_pair(huge.values.epoch.epoch, huge.values.epoch.offsetLon),
              std::make_pair(written.values.epoch.epoch, written.values.epoch.offsetLon));
    EXPECT_EQ(changes(huge), changes(written));
}

TEST(SettingsFile, KeyLinesAreReadByTheirRules) {
    TempDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"\r\n\nPOffsets    2.5   -1\r\n", "offsets 2.500 -1.000"},
        {"Epoch\t1500000\nLabelColor 1 2 3 9 x\n", "label 1 2 3"},  // tabs are no blanks
        // Short lines keep the defaults of what they leave out; a key line ends the block.
        {"WindowRect 10 20\nGridColor 99\nPOffsets 1\n",
         "rect 10 20 1120 896, grid 99 32 64, offsets 1.000 0.000"},
        {"ConViewArray\n   10 20 30 4 0.5 0.6\n   11 21\n\nEpoch 1673941\n   12 22 32 5 0.7 0.8\n",
         "epoch 1673941.00, view0 10.0 20.0 30.0 4.0 0.5 0.6, view1 11.0 21.0 0.0 4.5 1.1 0.4"},
        // Values that are no finite number are ignored.
        {"Epoch nan\nPOffsets inf 1e999\nConViewArray\n   nan 20.0 -inf 4 0.5 0.6\n",
         "view0 80.0 20.0 0.0 4.0 0.5 0.6"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(changes(readText(dir, text)), expected) << text;
}

TEST_F(ShellTest, SettingsAreFoundInTheWorkingFolderFirstAndAWindowWithoutAreaIsIgnored) {
    SettingsValues values;
    ColorTable colors;
    std::string path;
    // Nowhere: the path is beside the executable, where closing creates the file.
    EXPECT_FALSE(readSettings(exePath(), kDefaultRect, path, values, colors));
    start();
    onKeyDown(KeyEscape);
    EXPECT_EQ(readWholeFile(programFile("maridon.cfg")).substr(0, 24), "WindowRect 0 0 1120 896\n");
    for (auto [line, left] : {std::pair{"WindowRect 100 100 100 500\n", 0},
                              {"WindowRect -5000 -5000 -4000 -4500\n", -5000}}) {
        ASSERT_TRUE(writeTextFile(path, line));
        ASSERT_TRUE(readSettings(exePath(), kDefaultRect, path, values, colors));
        EXPECT_EQ(values.windowRect.left, left) << line;
        EXPECT_EQ(values.windowRect.bottom, left ? -4500 : 896) << line;
    }
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "Epoch 1600000\n"));
    ASSERT_TRUE(writeTextFile(work.path("maridon.cfg"), "Epoch 1700000\n"));
    start();
    EXPECT_EQ(theApp.epoch.epoch, 1700000.0);
    onDestroy({1, 2, 801, 602});
    EXPECT_EQ(readWholeFile(work.path("maridon.cfg")).substr(0, 23), "WindowRect 1 2 801 602\n");
    EXPECT_EQ(readWholeFile(programFile("maridon.cfg")), "Epoch 1600000\n");
    // A write that fails (a folder in the temporary file's place) leaves the settings as they were.
    std::filesystem::create_directory(work.path("maridon.cfg.tmp"));
    const std::string before = readWholeFile(work.path("maridon.cfg"));
    EXPECT_FALSE(shutDown({0, 0, 100, 100}));
    EXPECT_EQ(readWholeFile(work.path("maridon.cfg")), before);
}

TEST_F(ShellTest, AViewWithoutAUsableFocalScaleStartsOnTheDefaultViewWithItsStars) {
    for (const char* scale : {"0", "-8", "nan", "inf", "zoom"}) {
        ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"),
                                  formatText("ConViewArray\n 10 20 0 %s 0 0\n", scale)));
        ASSERT_NO_FATAL_FAILURE(start());
        EXPECT_EQ(std::lround(theApp.view.centerLon * kRadToDeg), 80) << scale;
        EXPECT_EQ(theApp.view.focalScale, 8.0) << scale;
        const std::vector<uint8_t>& pixels = theApp.frame.pixels;
        EXPECT_GT(pixels.size() - std::count(pixels.begin(), pixels.end(), 0), 100u) << scale;
    }
}
