// Property checks of the fuzz targets: a broken property aborts, which libFuzzer reports as a
// crash and saves the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace aeroquin::fuzz {

inline void check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "aeroquin fuzz: property broken: %s\n", property);
        std::abort();
    }
}

// A reader's error names the file it was given first: "<name>: ..." or "<name>:<line>: ...".
inline void checkNamesFile(std::string_view message, std::string_view name) {
    check(message.starts_with(name) && message.size() > name.size() + 1 &&
              message[name.size()] == ':',
          "the error message begins with the file's name and a colon");
}

}  // namespace aeroquin::fuzz
