#include "catalog/star_search.h"

#include <algorithm>
#include <cctype>

#include "catalog/reference_file.h"

namespace {

using Words = std::vector<std::string>;

constexpr int kLongestFlamsteed = 999;
constexpr size_t kLongestNumber = 9;  // digits of a running or catalogue number

// The words of a text in lower case, split at blanks.
Words words(std::string_view text) {
    Words out;
    std::string word;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!word.empty()) out.push_back(word), word.clear();
        } else {
            word += char(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (!word.empty()) out.push_back(word);
    return out;
}

// The words of a designation field, which its 16 characters bound.
Words fieldWords(const char (&field)[16]) {
    return words({field, size_t(std::find(field, field + sizeof field, '\0') - field)});
}

std::string joined(const Words& w) {
    std::string text;
    for (const std::string& word : w) text += (text.empty() ? "" : " ") + word;
    return text;
}

bool wholeNumber(const std::string& word, int& value) {
    if (word.empty() || word.size() > kLongestNumber) return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// The three spellings of every constellation (abbreviation, nominative, genitive), as words.
const std::vector<Words>& constellationForms(int code) {
    static const std::vector<std::vector<Words>> forms = [] {
        std::vector<std::vector<Words>> all(kIauConstellationCount);
        for (int c = 0; c < kIauConstellationCount; ++c)
            all[size_t(c)] = {words(kConstellationAbbreviations[c]),
                              words(kConstellationNames[c].nominative),
                              words(kConstellationNames[c].genitive)};
        return all;
    }();
    return forms[size_t(code - 1)];
}

// How many of the last words spell constellation `code` (1..88), the longest spelling counted;
// 0 when they spell none of it.
size_t constellationWords(const Words& w, int code) {
    size_t longest = 0;
    for (const Words& form : constellationForms(code)) {
        if (form.size() > w.size() || form.size() <= longest) continue;
        bool same = true;
        for (size_t i = 0; i < form.size() && same; ++i)
            same = w[w.size() - form.size() + i] == form[i];
        if (same) longest = form.size();
    }
    return longest;
}

// A Greek letter, abbreviated or spelled out, with or without its digit ("alp2", "alpha2").
bool greekLetter(std::string word, int& letter, int& digit) {
    digit = 0;
    if (word.size() > 1 && word.back() >= '1' && word.back() <= '9') {
        digit = word.back() - '0';
        word.pop_back();
    }
    for (int i = 0; i < kGreekLetterCount; ++i) {
        if (word == kGreekLetters[i] || word == kGreekLetterNames[i]) {
            letter = i + 1;
            return true;
        }
    }
    return false;
}

// The star parts of the first `count` words: a number, a letter, a digit, each optional, in
// that order, and nothing else.
bool starParts(const Words& w, size_t count, DesignationParts& parts) {
    size_t i = 0;
    int value = 0;
    if (i < count && wholeNumber(w[i], value) && value >= 1 && value <= kLongestFlamsteed)
        parts.flamsteed = value, ++i;
    if (i < count && greekLetter(w[i], parts.greekLetter, parts.letterDigit)) {
        ++i;
        // The digit may stand apart: "alpha 2 Cap".
        if (i < count && parts.letterDigit == 0 && w[i].size() == 1 && w[i][0] >= '1' &&
            w[i][0] <= '9')
            parts.letterDigit = w[i][0] - '0', ++i;
    }
    return i == count;
}

// The designation of constellation `code` in these words; false when they are none of its.
bool partsIn(const Words& w, int code, DesignationParts& parts) {
    const size_t tail = constellationWords(w, code);
    if (tail == 0) return false;
    parts = DesignationParts();
    parts.constellation = code;
    return starParts(w, w.size() - tail, parts);
}

// The stars of a constellation its record array really holds.
int heldStars(const Constellation& constellation) {
    const int count = int(constellation.stars.size());
    return constellation.starCount < count ? std::max(constellation.starCount, 0) : count;
}

}  // namespace

bool parseDesignation(std::string_view text, DesignationParts& parts) {
    const Words w = words(text);
    int best = 0;
    size_t bestWords = 0;
    for (int code = 1; code <= kIauConstellationCount; ++code) {
        const size_t tail = constellationWords(w, code);
        if (tail > bestWords) best = code, bestWords = tail;
    }
    return best != 0 && partsIn(w, best, parts);
}

bool designationNames(const DesignationParts& query, const DesignationParts& name) {
    if (query.constellation == 0 || query.constellation != name.constellation) return false;
    if (query.flamsteed == 0 && query.greekLetter == 0) return false;
    return (query.flamsteed == 0 || query.flamsteed == name.flamsteed) &&
           (query.greekLetter == 0 || query.greekLetter == name.greekLetter) &&
           (query.letterDigit == 0 || query.letterDigit == name.letterDigit);
}

StarSearch searchStars(std::string_view query, const AncientCatalog& edition,
                       const ReferenceCatalog& reference, int limit) {
    StarSearch search;
    auto add = [&](FoundKind kind, int constellation, int star) {
        if (int(search.found.size()) < limit) search.found.push_back({kind, constellation, star});
        ++search.total;
    };
    const Words asked = words(query);
    if (asked.empty()) return search;

    int number = 0;
    if (asked.size() == 1 && wholeNumber(asked[0], number)) {
        for (int c = 0; c < kConstellationCount; ++c)
            for (int s = 0; s < heldStars(edition.constellations[c]); ++s)
                if (edition.constellations[c].stars[size_t(s)].catalogNumber == number)
                    add(FoundKind::AncientStar, c, s);
        const int entry = lookUpReferenceStar(reference.index, number);
        if (entry >= 0 && entry < kReferenceStarCount) add(FoundKind::ReferenceStar, -1, entry);
        return search;
    }

    const std::string plain = joined(asked);
    const int row = constellationByName(plain);
    if (row >= 0) add(FoundKind::Constellation, row, -1);

    DesignationParts named;
    const bool starNamed =
        parseDesignation(plain, named) && (named.flamsteed != 0 || named.greekLetter != 0);
    auto matches = [&](const Words& w) {
        DesignationParts parts;
        return starNamed && partsIn(w, named.constellation, parts) &&
               designationNames(named, parts);
    };
    for (int c = 0; c < kConstellationCount; ++c) {
        const Constellation& constellation = edition.constellations[c];
        for (int s = 0; s < heldStars(constellation); ++s) {
            const Words designation = fieldWords(constellation.stars[size_t(s)].designation);
            if (joined(designation) == plain || matches(designation))
                add(FoundKind::AncientStar, c, s);
        }
    }
    if (starNamed)
        for (int entry = 0; entry < kReferenceStarCount; ++entry)
            if (matches(fieldWords(reference.stars[entry].name)))
                add(FoundKind::ReferenceStar, -1, entry);
    return search;
}
