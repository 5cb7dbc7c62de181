// Test helpers: a temporary folder removed with everything in it when the test ends, and small
// file utilities for writing fixtures.
#pragma once

#include <string>

struct TempDir {
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const;  // a path inside the folder
    std::string root;
};

bool writeTextFile(const std::string& path, const std::string& text);
std::string readWholeFile(const std::string& path);
