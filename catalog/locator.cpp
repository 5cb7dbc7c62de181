#include "catalog/locator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <vector>

namespace {

constexpr size_t kFirstLinkBufferSize = 512;
constexpr size_t kLongestLink = size_t(1) << 20;

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
        std::string beside = pathBesideExecutable(name, exePath);
        if (canOpenForReading(beside)) {
            path = std::move(beside);
            return true;
        }
    } catch (const std::bad_alloc&) {
    }
    return false;
}
