#include "common/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "catalog/catalog.h"
#include "catalog/locator.h"

namespace {
const char* toolName = "tessaran";
}

void setToolName(const char* name) { toolName = name; }

void complain(const std::string& text) { std::fprintf(stderr, "%s: %s\n", toolName, text.c_str()); }

bool parseDouble(const std::string& text, double& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == '\0' && errno == 0 && std::isfinite(value);
}

bool parseNumberList(const std::string& text, double* values, int count) {
    size_t start = 0;
    for (int i = 0; i < count; ++i) {
        const size_t comma = text.find(',', start);
        const bool lastOne = i == count - 1;
        if (lastOne != (comma == std::string::npos)) return false;
        const std::string item = text.substr(start, lastOne ? std::string::npos : comma - start);
        if (!parseDouble(item, values[i])) return false;
        start = comma + 1;
    }
    return true;
}

int constellationIndex(const std::string& which) {
    char* end = nullptr;
    errno = 0;
    const long index = std::strtol(which.c_str(), &end, 10);
    if (!which.empty() && *end == '\0')
        return errno == 0 && index >= 0 && index < kConstellationCount ? int(index) : -1;
    return constellationByName(which);
}

bool resolveDataFile(const std::string& given, const char* name, std::string& path) {
    if (!given.empty()) {
        path = given;
        return true;
    }
    if (locateDataFile(name, path)) return true;
    complain(std::string("cannot find ") + name +
             " in the working directory, beside this program or in its installed data folder;"
             " give its path");
    return false;
}
