// The data-file locator: every file the program reads ("catb.bin", "cat1.dat".."cat3.dat",
// "maridon.cfg", "readme.html") is looked for under its bare name in the working directory
// first, then beside the running executable, then in the data folder of an installed program.
// The settings file, which the program also writes, lives in the user's configuration folder
// when the program runs from an install prefix. Start-up, the settings code, the user-guide
// command and the command-line tools call it.
#pragma once

#include <string>

// Where an installed program's shipped data lies, from the executable's folder, so that a prefix
// moved elsewhere as a whole still finds its data.
constexpr char kInstalledDataFolder[] = "../share/tessaran-stars/";
// The folder an installed program keeps its settings in, inside the user's configuration folder.
constexpr char kUserFolderName[] = "tessaran-stars";

// Full path of the running executable, empty when it cannot be found.
std::string executablePath();

// The text a symbolic link holds, however long; empty when it is not a readable link.
std::string readSymbolicLink(const char* link);

// `name` in the executable's folder: the folder ends at the path's last backslash or, when it
// has none, its last slash; a path with neither gets a backslash of its own. Without an
// executable path, the bare name.
std::string pathBesideExecutable(const char* name, const std::string& exePath);

// The path to open for `name`, or false (and an empty path) when it is in none of the three
// places: the working directory, beside the executable, the installed data folder.
bool locateDataFile(const char* name, std::string& path);

// The same search with the executable's path given, so that it can be exercised anywhere.
bool locateDataFileBeside(const char* name, const std::string& exePath, std::string& path);

// True when the executable runs from an install prefix: its folder is named "bin", the installed
// data folder exists, and `shippedFile` (which a build folder holds beside the program) is not
// beside it.
bool runsFromInstallPrefix(const std::string& exePath, const char* shippedFile);

// The installed program's folder for the user's own files: "tessaran-stars" in $XDG_CONFIG_HOME,
// else in $HOME/.config. Each is taken only when it is an absolute path (null stands for an
// unset variable); empty when neither is.
std::string userConfigFolder(const char* configHome, const char* home);

// Where a file that the program reads and writes back is kept, and whether it is there now.
struct WritableFile {
    std::string path;
    bool exists = false;
};

// `name` in the working directory when it opens there, else in `userFolder` (an installed
// program's; empty for any other), else beside the executable. When it is in none of them the
// path names the place it will be created.
WritableFile locateWritableFile(const char* name, const std::string& exePath,
                                const std::string& userFolder);

// Creates the folder of `filePath` (all before its last slash) with any missing parents, each new
// one open to the user alone. True when that folder exists afterwards; a bare name has none to make.
bool makeFolderOf(const std::string& filePath);
