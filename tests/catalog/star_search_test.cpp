// Finding stars by number, designation and constellation name: each kind of query, letter case
// and blanks, the Greek letters and constellations spelled out, numbers in both catalogues or
// out of range, ambiguous and empty queries and the limit on what is listed.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>

#include "catalog/reference_file.h"
#include "catalog/star_search.h"
#include "catalog/text_format.h"

namespace {

// Reference entry e carries number e + 1; these entries carry designations.
const struct {
    int number;
    const char* name;
} kNamedReferenceStars[] = {
    {15, "21 alp And"},   {424, "1 alp UMi"},   {1713, "19 bet Ori"},  {2061, "58 alp Ori"},
    {2491, "9 alp CMa"},  {3974, "46 LMi"},     {3982, "32 alp Leo"},  {5459, "alp1 Cen"},
    {5460, "alp2 Cen"},   {7747, "5 alp1 Cap"}, {7754, "6 alp2 Cap"},
};

// Ancient stars by running number, written as an edition writes them (blanks to 12 columns).
const struct {
    int number;
    const char* designation;
} kNamedAncientStars[] = {
    {3, "1 alp UMi   "}, {650, "58 alp Ori  "}, {651, "19 bet Ori  "},
    {700, "9 alp CMa   "}, {400, "NEBULA"},      {401, "Orion"},
};

// Reference entries 8000 to 8299 share the letter: 300 stars called "... alp Psc".
constexpr int kFirstCrowded = 8000, kCrowdedCount = 300;

class StarSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        reference = std::make_unique<ReferenceCatalog>();
        clearNumberIndex(reference->index);
        for (int e = 0; e < kReferenceStarCount; ++e) {
            reference->stars[e].number = e + 1;
            reference->index.slot[e + 1] = int16_t(e);
        }
        for (const auto& named : kNamedReferenceStars)
            std::snprintf(reference->stars[named.number - 1].name, 16, "%s", named.name);
        for (int e = kFirstCrowded; e < kFirstCrowded + kCrowdedCount; ++e)
            std::snprintf(reference->stars[e].name, 16, "%d alp Psc", 1 + e % 200);
        edition = newEdition();
        int running = 0;
        for (Constellation& c : edition->constellations)
            for (AncientStar& star : c.stars) star.catalogNumber = ++running;
        for (const auto& named : kNamedAncientStars)
            std::snprintf(ancientStar(named.number).designation, 16, "%s", named.designation);
    }

    AncientStar& ancientStar(int number) {
        for (Constellation& c : edition->constellations)
            for (AncientStar& star : c.stars)
                if (star.catalogNumber == number) return star;
        throw std::logic_error("no ancient star " + std::to_string(number));
    }

    // What a search finds: "C" and a constellation's name, "A" and an ancient star's running
    // number, "R" and a reference star's catalogue number, in the order found.
    std::string found(const std::string& query, int limit = kMostStarsListed) {
        const StarSearch search = searchStars(query, *edition, *reference, limit);
        std::string text;
        for (const FoundStar& f : search.found) {
            if (!text.empty()) text += ' ';
            if (f.kind == FoundKind::Constellation)
                text += std::string("C") + kConstellationTable[f.constellation].name;
            else if (f.kind == FoundKind::AncientStar)
                text += formatText("A%d", edition->constellations[f.constellation]
                                              .stars[size_t(f.star)].catalogNumber);
            else
                text += formatText("R%d", reference->stars[f.star].number);
        }
        if (search.total != int(search.found.size()))
            text += formatText(" (of %d)", search.total);
        return text;
    }

    std::unique_ptr<ReferenceCatalog> reference;
    EditionPtr edition;
};

}  // namespace

TEST_F(StarSearchTest, NumbersFindTheAncientAndTheReferenceStarThatCarryThem) {
    const struct {
        const char* query;
        const char* found;
    } cases[] = {
        {"5", "A5 R5"},       {" 0005\t", "A5 R5"}, {"1028", "A1028 R1028"},
        {"1029", "R1029"},    {"9096", "R9096"},    {"9097", ""},
        {"9110", ""},         {"9111", ""},         {"0", ""},
        {"12345678901", ""},  {"-5", ""},           {"5 5", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(found(c.query), c.found) << '"' << c.query << '"';
}

TEST_F(StarSearchTest, DesignationsAreFoundByAnyCompletePartAndInEverySpelling) {
    const struct {
        const char* query;
        const char* found;
    } cases[] = {
        // The whole designation, a part of it, case and blanks aside.
        {"58 alp Ori", "A650 R2061"},
        {"alp Ori", "A650 R2061"},
        {"58 Ori", "A650 R2061"},
        {"  ALP   ori ", "A650 R2061"},
        {"1 alp UMi", "A3 R424"},
        {"21 alp And", "R15"},
        {"bet Ori", "A651 R1713"},
        // Greek letters and constellations spelled out, nominative and genitive.
        {"alpha Ori", "A650 R2061"},
        {"Alpha Orion", "A650 R2061"},
        {"alpha ORIONIS", "A650 R2061"},
        {"58 Orionis", "A650 R2061"},
        {"beta Orionis", "A651 R1713"},
        {"alpha Canis Majoris", "A700 R2491"},
        {"9 canis major", "A700 R2491"},
        {"alpha Andromedae", "R15"},
        // Leo and Leo Minor apart.
        {"46 Leonis Minoris", "R3974"},
        {"46 LMi", "R3974"},
        {"46 Leonis", ""},
        {"32 Leonis", "R3982"},
        // A letter without its digit names all its stars; with it, one.
        {"alp Cap", "R7747 R7754"},
        {"alp2 Cap", "R7754"},
        {"alpha2 Capricorni", "R7754"},
        {"alpha 2 Capricornus", "R7754"},
        {"6 Cap", "R7754"},
        {"5 alp2 Cap", ""},
        {"alpha Centauri", "R5459 R5460"},
        {"alp1 Cen", "R5459"},
        // No star: no constellation, the constellation alone, parts out of order or unknown.
        {"alpha", ""},
        {"58 alp", ""},
        {"Ori", ""},
        {"Orionis", ""},
        {"alp 58 Ori", ""},
        {"Ori alp", ""},
        {"zz Ori", ""},
        {"gam Ori", ""},
        {"alp Orio", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(found(c.query), c.found) << '"' << c.query << '"';
}

TEST_F(StarSearchTest, ConstellationsAndAncientDesignationsByTheirWholeText) {
    const struct {
        const char* query;
        const char* found;
    } cases[] = {
        {"Orion", "COrion A401"},   // the constellation, and the star designated so
        {"orion ", "COrion A401"},
        {"Ursa Minor", "CUrsa Minor"},
        {"ursa   MINOR", "CUrsa Minor"},
        {"Argo Navis", "CArgo Navis"},
        {"nebula", "A400"},
        {"Nebul", ""},
        {"Ursa", ""},
        {"", ""},
        {"  \t ", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(found(c.query), c.found) << '"' << c.query << '"';
}

TEST_F(StarSearchTest, AnAmbiguousQueryListsUpToTheLimitAndCountsEveryMatch) {
    // 300 stars in catalogue order, 200 listed.
    const StarSearch crowded = searchStars("alpha Piscium", *edition, *reference);
    EXPECT_EQ(crowded.total, kCrowdedCount);
    ASSERT_EQ(int(crowded.found.size()), kMostStarsListed);
    for (int k = 0; k < kMostStarsListed; ++k)
        EXPECT_EQ(crowded.found[size_t(k)].star, kFirstCrowded + k) << k;
    // 1 + e % 200: star "1 alp Psc" twice, at entries 8000 and 8200.
    EXPECT_EQ(found("1 alp Psc"), "R8001 R8201");
    EXPECT_EQ(found("alp Cap", 1), "R7747 (of 2)");
    EXPECT_EQ(found("58 alp Ori", 0), " (of 2)");
}

TEST(DesignationParts, EverySpellingReadsToTheCatalogueCodes) {
    const struct {
        const char* text;
        bool reads;
        DesignationParts parts;  // flamsteed, letter, digit, constellation
    } cases[] = {
        {"21 alp And", true, {21, 1, 0, 1}},
        {"alp2 Cap", true, {0, 1, 2, 15}},
        {"255 ome9 Vul", true, {255, 24, 9, 88}},
        {"omega Vulpeculae", true, {0, 24, 0, 88}},
        {"5 UMi", true, {5, 0, 0, 84}},
        {"the Ursae Minoris", true, {0, 8, 0, 84}},
        {"theta2 Trianguli Australis", true, {0, 8, 2, 80}},
        {"kap Triangulum", true, {0, 10, 0, 81}},
        {"1000 Ori", false, {}},
        {"alp0 Ori", false, {}},
        {"alp Ori 5", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        DesignationParts parts;
        ASSERT_EQ(parseDesignation(c.text, parts), c.reads) << c.text;
        if (!c.reads) continue;
        EXPECT_EQ(std::make_tuple(parts.flamsteed, parts.greekLetter, parts.letterDigit,
                                  parts.constellation),
                  std::make_tuple(c.parts.flamsteed, c.parts.greekLetter, c.parts.letterDigit,
                                  c.parts.constellation))
            << c.text;
    }
}

TEST(ConstellationNames, EachAbbreviationSharesItsInitialWithItsName) {
    // The tables run in the same order: a name moved against the abbreviations shows here.
    for (int c = 0; c < kIauConstellationCount; ++c) {
        const std::string abbreviation = kConstellationAbbreviations[c];
        const std::string nominative = kConstellationNames[c].nominative;
        const std::string genitive = kConstellationNames[c].genitive;
        EXPECT_EQ(abbreviation[0], nominative[0]) << abbreviation << " " << nominative;
        EXPECT_EQ(nominative.substr(0, 2), genitive.substr(0, 2)) << nominative << " " << genitive;
    }
}
