// printf-style formatting into a std::string, for messages built before they
// are printed.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

// The format checks of the C library's printf. MinGW's own C99 printf, which
// Windows builds use, names them apart from the system's.
#ifdef __MINGW_PRINTF_FORMAT
#define ORRINRC_PRINTF_FORMAT __MINGW_PRINTF_FORMAT
#else
#define ORRINRC_PRINTF_FORMAT printf
#endif

__attribute__((format(ORRINRC_PRINTF_FORMAT, 1, 2))) inline std::string strf(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    const int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, ap2);
    va_end(ap2);
    return out;
}
