// The shipped program for the shell benchmarks: the data in data/ as if the program stood there,
// run from an empty working folder against the recording fake of the platform, in a window of
// kWidth x kHeight.
#pragma once

#include <filesystem>
#include <string>

#include "app/shell.h"
#include "app/startup.h"
#include "app/state.h"
#include "fake_platform.h"
#include "temp_dir.h"

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct ShippedProgram {
    TempDir work;
    std::filesystem::path previous = std::filesystem::current_path();
    std::string exePath = std::string(TESSARAN_SOURCE_DIR) + "/data/tessaran-stars";
    ShippedProgram() { std::filesystem::current_path(work.root); }
    ~ShippedProgram() {
        resetAppState();
        std::filesystem::current_path(previous);
    }
};

// Start-up, window creation, the first size and the first paint; false when the data is missing.
inline bool startToFirstPaint(const ShippedProgram& program) {
    resetAppState();
    resetFakePlatform();
    if (!startUp(program.exePath)) return false;
    onCreate();
    onSize(kWidth, kHeight);
    platformRepaint();
    return true;
}
