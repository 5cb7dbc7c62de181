// Feeds the bytes to the settings reader as "maridon.cfg", over the defaults. Whatever it reads
// is written out as the destroy handler writes it and read back.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/settings.h"
#include "fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("settings"), output("settings-out");
    SettingsValues values;
    ColorTable colors;
    setDefaultSettings(ScreenRect{0, 0, 800, 600}, values, colors);
    if (!readSettingsFile(input.write(data, size), values, colors)) std::abort();
    if (!writeSettings(output.path(), values, colors)) std::abort();
    SettingsValues again;
    ColorTable againColors;
    setDefaultSettings(ScreenRect{0, 0, 800, 600}, again, againColors);
    if (!readSettingsFile(output.path(), again, againColors)) std::abort();
    // Integers and colours are written exactly.
    const ScreenRect& a = values.windowRect;
    const ScreenRect& b = again.windowRect;
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom)
        std::abort();
    if (!std::equal(std::begin(colors.entries), std::end(colors.entries), againColors.entries))
        std::abort();
    return 0;
}
