// Feeds the bytes to the offset parser as a typed offset text. An offset it takes is shown as
// the dialog shows it, and that text must be taken again and shown the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalog/epoch_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    float radians;
    if (!parseOffset(text.c_str(), radians)) return 0;
    if (!std::isfinite(radians)) std::abort();
    std::string shown = formatOffset(radians);
    float again;
    if (!parseOffset(shown.c_str(), again) || formatOffset(again) != shown) std::abort();
    return 0;
}
