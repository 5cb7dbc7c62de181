// printf-style formatting into a string of whatever length the values need, for every text the
// program composes (status line, list texts, menu items), so no text is ever cut or overruns.
#pragma once

#include <string>
#include <string_view>

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text without the blanks that fill out a fixed-width field (a designation) at its end.
std::string withoutTrailingBlanks(std::string_view text);
