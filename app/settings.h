// The settings file "maridon.cfg": the window rectangle, three user colours, the epoch and its
// offsets, and the saved view of every constellation, kept between runs as key lines of text.
// Start-up reads it before any catalogue is loaded; the destroy handler writes it back.
#pragma once

#include <string>

#include "app/state.h"

constexpr char kSettingsFileName[] = "maridon.cfg";

// Everything the file keeps, apart from the colours, which live in the colour table.
struct SettingsValues {
    ScreenRect windowRect;
    ConViewArray views;
    EpochSetting epoch;
};

// The defaults: the given window rectangle, the default view table, the default epoch and
// offsets, and the default colours of the numbers and both grids.
void setDefaultSettings(const ScreenRect& defaultRect, SettingsValues& values, ColorTable& colors);

// The path the settings are read from and written to: "maridon.cfg" in the working folder when it
// opens there, else beside the executable, or, for a program run from an install prefix, in
// $XDG_CONFIG_HOME/tessaran-stars (by default ~/.config/tessaran-stars). True when the file
// exists there; when it does not, `path` still names the place where it will be created.
bool locateSettingsFile(const std::string& exePath, std::string& path);

// Overrides `values` and `colors` with whatever the file at `path` holds; false when it cannot
// be opened. Never fails on the content: what makes no sense is skipped, what is missing stays.
bool readSettingsFile(const char* path, SettingsValues& values, ColorTable& colors);

// Defaults, then the file found by locateSettingsFile; true when a file was read. A window
// rectangle with no area falls back to `defaultRect`.
bool readSettings(const std::string& exePath, const ScreenRect& defaultRect, std::string& path,
                  SettingsValues& values, ColorTable& colors);

// Writes every value to a temporary file beside `path` and renames it over the old file, so a
// failure at any point leaves the previous settings as they were. True when written.
bool writeSettings(const char* path, const SettingsValues& values, const ColorTable& colors);
