// printf-style formatting of the short texts the windows show.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace cadenzo {

// Texts longer than 63 characters are cut.
[[gnu::format(printf, 1, 2)]] inline std::string Printf(const char* format, ...) {
    char text[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

}  // namespace cadenzo
