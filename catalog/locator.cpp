#include "catalog/locator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <vector>

namespace {

constexpr size_t kFirstLinkBufferSize = 512;
constexpr size_t kLongestLink = size_t(1) << 20;
constexpr char kProgramFolderName[] = "bin";
constexpr char kConfigUnderHome[] = "/.config/";
constexpr mode_t kPrivateFolderMode = 0700;

// A folder under the name is no data file: fopen opens folders here for reading (only the reads
// fail), so it would hide the file beside the executable and then fail to load.
bool canOpenForReading(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    struct stat info;
    bool isFolder = fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
    std::fclose(file);
    return !isFolder;
}

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isAbsolutePath(const char* path) { return path && path[0] == '/'; }

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string readSymbolicLink(const char* link) {
    try {
        // readlink does not say how long the text is, so grow the buffer until it fits.
        for (size_t size = kFirstLinkBufferSize; size <= kLongestLink; size *= 2) {
            std::vector<char> buffer(size);
            ssize_t length = readlink(link, buffer.data(), buffer.size());
            if (length < 0) return {};
            if (size_t(length) < buffer.size()) return std::string(buffer.data(), size_t(length));
        }
    } catch (const std::bad_alloc&) {
    }
    return {};
}

std::string pathBesideExecutable(const char* name, const std::string& exePath) {
    if (exePath.empty()) return name;
    size_t separator = exePath.rfind('\\');
    if (separator == std::string::npos) separator = exePath.rfind('/');
    if (separator == std::string::npos) return exePath + '\\' + name;
    return exePath.substr(0, separator + 1) + name;
}

std::string executablePath() { return readSymbolicLink("/proc/self/exe"); }

bool locateDataFile(const char* name, std::string& path) {
    return locateDataFileBeside(name, executablePath(), path);
}

bool locateDataFileBeside(const char* name, const std::string& exePath, std::string& path) {
    path.clear();
    if (!name || !*name) return false;
    try {
        if (canOpenForReading(name)) {
            path = name;
            return true;
        }
        // Without an executable path there is no folder to look in.
        if (exePath.empty()) return false;
        // The executable's path has its links resolved, so "bin/.." is the prefix itself.
        const std::string installed = kInstalledDataFolder + std::string(name);
        const std::filesystem::path inPrefix = pathBesideExecutable(installed.c_str(), exePath);
        for (std::string place : {pathBesideExecutable(name, exePath),
                                  inPrefix.lexically_normal().string()}) {
            if (canOpenForReading(place)) {
                path = std::move(place);
                return true;
            }
        }
    } catch (const std::bad_alloc&) {
    }
    return false;
}

bool runsFromInstallPrefix(const std::string& exePath, const char* shippedFile) {
    if (exePath.empty() || !shippedFile || !*shippedFile) return false;
    try {
        // The folder with its separator, as pathBesideExecutable puts it before a name.
        const std::string folder = pathBesideExecutable("", exePath);
        const std::string withoutSeparator = folder.substr(0, folder.size() - 1);
        const size_t cut = withoutSeparator.find_last_of("/\\");
        const bool inBin = withoutSeparator.substr(cut == std::string::npos ? 0 : cut + 1) ==
                           kProgramFolderName;
        return inBin && isFolder(folder + kInstalledDataFolder) &&
               !canOpenForReading(folder + shippedFile);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string userConfigFolder(const char* configHome, const char* home) {
    try {
        if (isAbsolutePath(configHome))
            return withoutTrailingSlashes(configHome) + '/' + kUserFolderName;
        if (isAbsolutePath(home))
            return withoutTrailingSlashes(home) + kConfigUnderHome + kUserFolderName;
    } catch (const std::bad_alloc&) {
    }
    return {};
}

WritableFile locateWritableFile(const char* name, const std::string& exePath,
                                const std::string& userFolder) {
    if (!name || !*name) return {};
    try {
        if (canOpenForReading(name)) return {name, true};
        std::string place = userFolder.empty() ? pathBesideExecutable(name, exePath)
                                               : withoutTrailingSlashes(userFolder) + '/' + name;
        const bool exists = canOpenForReading(place);
        return {std::move(place), exists};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool makeFolderOf(const std::string& filePath) {
    const size_t end = filePath.rfind('/');
    if (end == std::string::npos) return true;
    if (end == 0) return true;  // the root folder
    try {
        const std::string folder = filePath.substr(0, end);
        // Each folder along the path from the top, so that missing parents come first.
        for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
            const std::string step = folder.substr(0, slash);
            if (mkdir(step.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST && !isFolder(step))
                return false;
            if (slash == std::string::npos) break;
        }
        return isFolder(folder);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
