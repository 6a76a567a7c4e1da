#include "fuzz/TempRoot.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace aeroquin::fuzz {

TempRoot::TempRoot() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "aeroquin-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("aeroquin fuzz: mkdtemp");
        std::abort();
    }
    path_ = pattern;
}

TempRoot::~TempRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempRoot::write(const std::filesystem::path& relative, std::string_view bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    // A new file rather than a truncated one: ext4 flushes a truncated file to disk on close,
    // which costs milliseconds per input.
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "aeroquin fuzz: cannot write %s\n", file.c_str());
        std::abort();
    }
}

}  // namespace aeroquin::fuzz
