#include "temp_dir.h"

#include <cstdlib>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaran-XXXXXX").string();
    if (mkdtemp(pattern.data())) root = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!root.empty()) std::filesystem::remove_all(root, ignored);
}
