#include "shell_fixture.h"

#include "app/startup.h"
#include "app/shell.h"
#include "app/status_text.h"
#include "catalog/edition_file.h"
#include "support/catalog_fixtures.h"
#include "catalog/reference_file.h"

bool writeTestReferenceCatalog(const std::string& path) {
    std::vector<ReferenceRecord> records = sampleReferenceRecords();
    return writeReferenceCatalog(path.c_str(), records.data(), int(records.size()));
}

bool writeTestEdition(const std::string& path, const std::string& name) {
    return writeEdition(path.c_str(), *sampleEdition(name.c_str()));
}

void ShellTest::SetUp() {
    resetAppState();
    resetFakePlatform();
    previousWorkingFolder = std::filesystem::current_path();
    std::filesystem::current_path(work.root);
}

void ShellTest::TearDown() {
    std::filesystem::current_path(previousWorkingFolder);
    resetAppState();
}

void ShellTest::writeProgramCatalogs() {
    ASSERT_TRUE(writeTestReferenceCatalog(programFile("catb.bin")));
    ASSERT_TRUE(writeTestEdition(programFile("cat1.dat"), "Edition One"));
    ASSERT_TRUE(writeTestEdition(programFile("cat2.dat"), "Edition Two"));
    ASSERT_TRUE(writeTestEdition(programFile("cat3.dat"), "Edition Three"));
}

void ShellTest::startProgram() {
    writeProgramCatalogs();
    ASSERT_TRUE(startUp(exePath()));
    onCreate();
    onSize(800, 600);
    platformRepaint();
}

std::string ShellTest::lastStatusLine() const {
    const std::vector<DrawnText>& texts = fakePlatform().texts;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
        if (it->x == 10 && it->opaqueBlackBackground && it->color == kStatusTextColor)
            return it->text;
    return {};
}
