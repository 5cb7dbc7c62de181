// Feeds the bytes to the reference-catalogue reader as the leading records of "catb.bin", the
// rest of the file filled with copies of one valid record so that every record is decoded; a
// first byte of 0xFF hands the remaining bytes over as the whole file instead. A catalogue it
// reads is carried to an epoch taken from the input, as start-up does.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "catalog/precession.h"
#include "catalog/reference_file.h"
#include "fuzz_input_file.h"

namespace {

std::vector<uint8_t> validRecord() {
    ReferenceRecord record;
    record.number = 424;
    record.secondNumber = 8890;
    record.greekLetter = 1;
    record.constellation = 1;
    record.ra = 0.662f;
    record.dec = 1.5580f;
    record.distance = 1330;
    record.pmRa = 38;
    record.pmDec = -15;
    record.magnitude = 202;
    record.colorCode = 60;
    std::vector<uint8_t> bytes(kReferenceRecordSize);
    encodeReferenceRecord(record, bytes.data());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("catb");
    static const std::vector<uint8_t> filler = validRecord();
    static auto catalog = std::make_unique<ReferenceCatalog>();
    std::vector<uint8_t> file;
    if (size > 0 && data[0] == 0xFF) {
        file.assign(data + 1, data + size);
    } else {
        file.assign(data, data + std::min(size, size_t(kReferenceFileSize)));
        while (file.size() < size_t(kReferenceFileSize))
            file.insert(file.end(), filler.begin(), filler.end());
        file.resize(size_t(kReferenceFileSize));
    }
    if (!readReferenceCatalog(input.write(file.data(), file.size()), *catalog)) return 0;
    for (int number = 0; number <= kHighestReferenceNumber; ++number) {
        int entry = lookUpReferenceStar(catalog->index, number);
        if (entry >= 0 && catalog->stars[entry].number != number) std::abort();
    }
    // Any finite epoch can reach start-up: the settings reader refuses only non-finite ones.
    double jd = kJ2000;
    if (size >= sizeof jd) std::memcpy(&jd, data, sizeof jd);
    if (std::isfinite(jd)) applyEpoch(*catalog, jd);
    return 0;
}
