#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaran-XXXXXX").string();
    if (mkdtemp(pattern.data())) root = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!root.empty()) std::filesystem::remove_all(root, ignored);
}

std::string TempDir::path(const std::string& name) const { return root + "/" + name; }

bool writeTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out);
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
