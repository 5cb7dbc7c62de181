// The shell's test fixture: a fresh application state and fake platform for every test, a
// program folder (where the executable would live) and an empty working folder the test runs in.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shell.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/status_text.h"
#include "catalog/edition_file.h"
#include "catalog/reference_file.h"
#include "support/catalog_fixtures.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

using Log = std::vector<std::string>;

inline bool writeTestEdition(const std::string& path, const char* name) {
    return writeEdition(path.c_str(), *sampleEdition(name));
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        resetFakePlatform();
        std::filesystem::current_path(work.root);
    }
    void TearDown() override {
        std::filesystem::current_path(previousFolder);
        resetAppState();
    }

    std::string programFile(const std::string& name) const { return program.path(name); }
    std::string exePath() const { return program.path("tessaran-stars"); }

    // The four catalogue files beside the program, the editions "Edition One" to "Edition Three".
    void writeCatalogs() {
        std::vector<ReferenceRecord> records = sampleReferenceRecords();
        ASSERT_TRUE(writeReferenceCatalog(programFile("catb.bin").c_str(), records.data(),
                                          int(records.size())));
        const char* names[] = {"Edition One", "Edition Two", "Edition Three"};
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(writeTestEdition(programFile(kEditionFileNames[i]), names[i]));
    }
    // Starts up (the catalogues written unless they are there), sizes the window to 800 x 600
    // and paints it as the platform would; what that showed goes to `shown`, else is forgotten.
    void start(Log* shown = nullptr) {
        if (!std::filesystem::exists(programFile("catb.bin"))) writeCatalogs();
        resetAppState();
        ASSERT_TRUE(startUp(exePath()));
        onCreate();
        onSize(800, 600);
        platformRepaint();
        Log log = takeLog();
        if (shown) *shown = log;
    }

    // The service calls logged since the last look, and forgets them.
    Log takeLog() {
        Log taken;
        taken.swap(fakePlatform().log);
        return taken;
    }
    int repaints() const {
        const Log& log = fakePlatform().log;
        return int(std::count(log.begin(), log.end(), "repaint"));
    }
    // The status line of the last paint: the last text drawn at the status line's left edge.
    std::string status() const {
        const std::vector<DrawnText>& texts = fakePlatform().texts;
        for (auto it = texts.rbegin(); it != texts.rend(); ++it)
            if (it->x == 10 && it->color == kStatusTextColor) return it->text;
        return {};
    }

    FakePlatform& fake = fakePlatform();
    TempDir program, work;
    std::filesystem::path previousFolder = std::filesystem::current_path();
};
