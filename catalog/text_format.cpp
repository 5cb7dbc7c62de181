#include "catalog/text_format.h"

#include <cstdarg>
#include <cstdio>

std::string formatText(const char* format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(size_t(length));
        std::vsnprintf(&text[0], text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

std::string withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}
