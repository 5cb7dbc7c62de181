// The shell's test fixture: a fresh application state and fake platform for every test, a
// program folder (where the executable would live) and an empty working folder that the test
// runs in, and small catalogue files written with the catalogue writers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/state.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

// The shared sample catalogues written as files.
bool writeTestReferenceCatalog(const std::string& path);
bool writeTestEdition(const std::string& path, const std::string& name);

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string programFile(const std::string& name) const { return program.path(name); }
    std::string workFile(const std::string& name) const { return work.path(name); }
    std::string exePath() const { return program.path("tessaran-stars"); }

    // All four catalogue files beside the executable, the editions named "Edition One" to
    // "Edition Three".
    void writeProgramCatalogs();
    // Writes the catalogues, starts up and sizes the window to 800 x 600 as the platform would.
    void startProgram();

    // The status line of the last paint (the last text drawn at the status line's left edge).
    std::string lastStatusLine() const;

    TempDir program;
    TempDir work;
    std::filesystem::path previousWorkingFolder;
};
