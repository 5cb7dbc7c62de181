// Finding stars by number, designation and constellation name: each kind of query in its
// spellings, numbers in both catalogues or in neither, and the limit on what is listed.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "catalog/reference_file.h"
#include "catalog/star_search.h"
#include "catalog/text_format.h"

namespace {

// Reference entry e carries number e + 1; these numbers carry designations.
const std::pair<int, const char*> kNamedReferenceStars[] = {
    {15, "21 alp And"}, {1713, "19 bet Ori"}, {2061, "58 alp Ori"}, {2491, "9 alp CMa"},
    {3974, "46 LMi"},   {3982, "32 alp Leo"}, {7747, "5 alp1 Cap"}, {7754, "6 alp2 Cap"},
};
// Ancient stars by running number, designated as an edition writes them (blanks to 12 columns).
const std::pair<int, const char*> kNamedAncientStars[] = {
    {650, "58 alp Ori  "}, {651, "19 bet Ori  "}, {400, "NEBULA"}, {401, "Orion"}};

class StarSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearNumberIndex(reference->index);
        for (int e = 0; e < kReferenceStarCount; ++e) {
            reference->stars[e].number = e + 1;
            reference->index.slot[e + 1] = int16_t(e);
        }
        for (const auto& [number, name] : kNamedReferenceStars)
            std::snprintf(reference->stars[number - 1].name, 16, "%s", name);
        int running = 0;
        for (Constellation& c : edition->constellations)
            for (AncientStar& star : c.stars) {
                star.catalogNumber = ++running;
                for (const auto& [number, name] : kNamedAncientStars)
                    if (number == running) std::snprintf(star.designation, 16, "%s", name);
            }
    }

    // "C", "A", "R" and a constellation's name, a running or a catalogue number, in the order
    // found, and " (of N)" when the list was cut.
    std::string found(const std::string& query, int limit = kMostStarsListed) {
        const StarSearch search = searchStars(query, *edition, *reference, limit);
        std::string text;
        for (const FoundStar& f : search.found)
            text += f.kind == FoundKind::Constellation
                        ? std::string(" C") + kConstellationTable[f.constellation].name
                    : f.kind == FoundKind::AncientStar
                        ? formatText(" A%d", edition->constellations[f.constellation]
                                                 .stars[size_t(f.star)].catalogNumber)
                        : formatText(" R%d", reference->stars[f.star].number);
        if (search.total != int(search.found.size())) text += formatText(" (of %d)", search.total);
        return text.empty() ? text : text.substr(1);
    }

    std::unique_ptr<ReferenceCatalog> reference = std::make_unique<ReferenceCatalog>();
    EditionPtr edition = newEdition();
};

}  // namespace

TEST_F(StarSearchTest, EachKindOfQueryFindsWhatItNamesInEverySpellingUpToTheLimit) {
    const std::pair<const char*, const char*> cases[] = {
        // A number: the ancient and the reference star that carry it, either or neither.
        {"5", "A5 R5"}, {" 0005\t", "A5 R5"}, {"1029", "R1029"}, {"9097", ""}, {"0", ""},
        // A designation whole or by any complete part, case and blanks aside.
        {"58 alp Ori", "A650 R2061"}, {"alp Ori", "A650 R2061"}, {"58 Ori", "A650 R2061"},
        {"  ALP   ori ", "A650 R2061"}, {"bet Ori", "A651 R1713"}, {"21 alp And", "R15"},
        // Greek letters and constellations spelled out, nominative and genitive.
        {"alpha ORIONIS", "A650 R2061"}, {"Alpha Orion", "A650 R2061"},
        {"58 Orionis", "A650 R2061"}, {"alpha Canis Majoris", "R2491"}, {"9 canis major", "R2491"},
        {"46 Leonis Minoris", "R3974"}, {"46 Leonis", ""}, {"32 Leonis", "R3982"},
        // A letter without its digit names all its stars; with it, one.
        {"alp Cap", "R7747 R7754"}, {"alpha 2 Capricornus", "R7754"}, {"6 Cap", "R7754"},
        // No star: no constellation, the constellation alone, parts out of order or unknown.
        {"alpha", ""}, {"Ori", ""}, {"alp 58 Ori", ""}, {"gam Ori", ""}, {"alp Orio", ""},
        // A constellation of the 48, and an ancient star by its designation's whole text.
        {"orion ", "COrion A401"}, {"ursa   MINOR", "CUrsa Minor"}, {"Argo Navis", "CArgo Navis"},
        {"nebula", "A400"}, {"Nebul", ""}, {"", ""},
    };
    for (const auto& [query, expected] : cases)
        EXPECT_EQ(found(query), expected) << '"' << query << '"';
    EXPECT_EQ(found("alp Cap", 1), "R7747 (of 2)");  // up to the limit listed, every match counted
}
