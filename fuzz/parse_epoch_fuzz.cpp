// Feeds the bytes to the epoch parser as a typed epoch text. An epoch it takes is shown as the
// dialog shows it, and that text must be taken again and shown the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalog/epoch_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    double jd;
    if (!parseEpoch(text.c_str(), jd)) return 0;
    std::string shown = formatEpoch(jd);
    double again;
    if (!parseEpoch(shown.c_str(), again) || formatEpoch(again) != shown) std::abort();
    return 0;
}
