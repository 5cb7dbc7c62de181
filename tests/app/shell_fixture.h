// A fresh application state and fake platform for every test, the catalogue files in a program
// folder ("Edition One" to "Edition Three") and an empty working folder the test runs in.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

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

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        resetFakePlatform();
        std::filesystem::current_path(work.root);
        std::vector<ReferenceRecord> stars = sampleReferenceRecords();
        ASSERT_TRUE(writeReferenceCatalog(programFile("catb.bin").c_str(), stars.data(),
                                          int(stars.size())));
        const char* names[] = {"Edition One", "Edition Two", "Edition Three"};
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(writeEdition(programFile(kEditionFileNames[i]).c_str(),
                                     *sampleEdition(names[i])));
    }
    void TearDown() override {
        std::filesystem::current_path(previousFolder);
        resetAppState();
    }
    std::string programFile(const std::string& name) const { return program.path(name); }
    std::string exePath() const { return program.path("tessaran-stars"); }

    // Starts up, sizes the window to 800 x 600 and paints it as the platform would.
    void start() {
        resetAppState();
        ASSERT_TRUE(startUp(exePath())) << "start-up failed: " << testing::PrintToString(takeLog());
        onCreate();
        onSize(800, 600);
        platformRepaint();
        takeLog();
    }
    // The view turned onto a star of the current constellation, not yet repainted.
    const AncientStar& centreViewOn(int index) {
        const AncientStar& star = currentConstellation()->stars[size_t(index)];
        theApp.view.centerLon = star.lon, theApp.view.centerLat = star.lat;
        viewUpdate(theApp.view);
        return star;
    }
    Log takeLog() { return std::exchange(fake.log, {}); }
    int repaints() const { return int(std::count(fake.log.begin(), fake.log.end(), "repaint")); }

    FakePlatform& fake = fakePlatform();
    TempDir program, work;
    std::filesystem::path previousFolder = std::filesystem::current_path();
};
