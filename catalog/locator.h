// The data-file locator: every file the program reads ("catb.bin", "cat1.dat".."cat3.dat",
// "maridon.cfg", "readme.html") is looked for under its bare name in the working directory
// first, then beside the running executable. Start-up, the settings code and the user-guide
// command call it.
#pragma once

#include <string>

// Full path of the running executable, empty when it cannot be found.
std::string executablePath();

// The text a symbolic link holds, however long; empty when it is not a readable link.
std::string readSymbolicLink(const char* link);

// `name` in the executable's folder: the folder ends at the path's last backslash or, when it
// has none, its last slash; a path with neither gets a backslash of its own. Without an
// executable path, the bare name.
std::string pathBesideExecutable(const char* name, const std::string& exePath);

// The path to open for `name`, or false (and an empty path) when it is in neither place.
bool locateDataFile(const char* name, std::string& path);

// The same search with the executable's path given, so that it can be exercised anywhere.
bool locateDataFileBeside(const char* name, const std::string& exePath, std::string& path);
