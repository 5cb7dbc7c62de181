// Feeds the bytes to the edition reader as an edition file. An edition it reads is written back
// and read again: whenever the writer accepts it, every field must come back as it was.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalog/edition_file.h"
#include "fuzz_input_file.h"

namespace {

// The writer fills a designation out to its twelve columns when a description follows it.
std::string trimmedDesignation(const AncientStar& star) {
    std::string text(star.designation, strnlen(star.designation, sizeof star.designation));
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

bool sameStar(const AncientStar& a, const AncientStar& b) {
    return a.catalogNumber == b.catalogNumber &&
           a.numberInConstellation == b.numberInConstellation && a.zodiacSign == b.zodiacSign &&
           a.signDegrees == b.signDegrees && a.lonMinutes == b.lonMinutes &&
           a.latSouth == b.latSouth && a.latDegrees == b.latDegrees &&
           a.latMinutes == b.latMinutes && a.magnitude == b.magnitude &&
           a.identification == b.identification &&
           trimmedDesignation(a) == trimmedDesignation(b) && a.description == b.description;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("edition"), output("edition-out");
    EditionPtr edition = readEdition(input.write(data, size));
    if (!edition) return 0;
    if (!writeEdition(output.path(), *edition)) return 0;
    EditionPtr again = readEdition(output.path());
    if (!again || again->name != edition->name) std::abort();
    for (int c = 0; c < kConstellationCount; ++c) {
        const Constellation& read = edition->constellations[c];
        const Constellation& reread = again->constellations[c];
        if (read.stars.size() != reread.stars.size()) std::abort();
        for (size_t s = 0; s < read.stars.size(); ++s)
            if (!sameStar(read.stars[s], reread.stars[s])) std::abort();
    }
    return 0;
}
