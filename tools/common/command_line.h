// What the command-line tools share: their exit codes, messages on standard error under the
// tool's name, numbers and constellations read from option values, and the catalogue files found
// the way the viewer finds them. tessaran-snapshot and tessaran-analyze call it.
#pragma once

#include <string>

constexpr int kExitFailure = 1;  // a file could not be read or written
constexpr int kExitUsage = 2;    // a bad option

// Names the tool in every message; set once at the start of main.
void setToolName(const char* name);
// "<tool>: <text>" on standard error.
void complain(const std::string& text);

// A whole option value as a finite number.
bool parseDouble(const std::string& text, double& value);
// Exactly `count` numbers separated by commas.
bool parseNumberList(const std::string& text, double* values, int count);
// A constellation by its index 0..47 or by its name, letter case ignored; -1 when neither fits.
int constellationIndex(const std::string& which);

// The path given, or else `name` found in the working directory, beside the program or in the
// installed data folder; false after a message when it is nowhere.
bool resolveDataFile(const std::string& given, const char* name, std::string& path);
