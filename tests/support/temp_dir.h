// A temporary folder removed with everything in it when the test ends, and file utilities.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct TempDir {
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaran-XXXXXX").string();
        if (mkdtemp(pattern.data())) root = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!root.empty()) std::filesystem::remove_all(root, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return root + "/" + name; }
    std::string root;
};

inline bool writeTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out);
}

inline std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
