#include "shell_fixture.h"

#include <cmath>

#include "app/startup.h"
#include "app/shell.h"
#include "app/status_text.h"
#include "catalog/edition_file.h"
#include "catalog/reference_file.h"
#include "geometry/vectors.h"

bool writeTestReferenceCatalog(const std::string& path) {
    std::vector<ReferenceRecord> records(kReferenceStarCount);
    for (int i = 0; i < kReferenceStarCount; ++i) {
        ReferenceRecord& r = records[i];
        r.number = int16_t(i + 1);
        r.secondNumber = i + 1;
        // A spiral from pole to pole, so that every view has some stars.
        double z = 1.0 - 2.0 * (i + 0.5) / kReferenceStarCount;
        r.dec = float(std::asin(z));
        r.ra = float(std::fmod(i * 2.399963229728653, kTwoPi));
        r.distance = 1000;
        r.magnitude = int16_t(200 + i % 400);
        r.colorCode = int16_t(i % 150);
    }
    return writeReferenceCatalog(path.c_str(), records.data(), kReferenceStarCount);
}

bool writeTestEdition(const std::string& path, const std::string& name) {
    auto edition = std::make_unique<AncientCatalog>();
    edition->name = name;
    int catalogNumber = 1;
    for (int c = 0; c < kConstellationCount; ++c) {
        Constellation& constellation = edition->constellations[c];
        const ConstellationInfo& info = kConstellationTable[c];
        constellation.name = info.name;
        constellation.figureCount = info.figureCount;
        constellation.extraCount = info.extraCount;
        constellation.starCount = info.figureCount + info.extraCount;
        constellation.stars.resize(size_t(constellation.starCount));
        ConView centre = defaultConView(c);
        for (int j = 0; j < constellation.starCount; ++j) {
            AncientStar& star = constellation.stars[size_t(j)];
            int lonMinutes = int(std::lround(centre.viewLon * kRadToDeg * 60)) + 6 * j;
            lonMinutes %= 360 * 60;
            int latMinutes = int(std::lround(centre.viewLat * kRadToDeg * 60));
            star.numberInConstellation = j + 1;
            star.zodiacSign = lonMinutes / 60 / 30;
            star.signDegrees = lonMinutes / 60 % 30;
            star.lonMinutes = lonMinutes % 60;
            star.latSouth = latMinutes < 0;
            star.latDegrees = std::abs(latMinutes) / 60;
            star.latMinutes = std::abs(latMinutes) % 60;
            star.magnitude = 3;
            star.description = "test star";
            star.identification = catalogNumber;
            star.catalogNumber = catalogNumber++;
        }
    }
    return writeEdition(path.c_str(), *edition);
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
