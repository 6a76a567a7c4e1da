// A private root folder in the system's temporary directory, removed with everything in it when
// the object goes. Fuzz targets keep one for the whole process and rewrite files in it per input.
#pragma once

#include <filesystem>
#include <string_view>

namespace aeroquin::fuzz {

class TempRoot {
  public:
    TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    ~TempRoot();

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

    // Replaces the file at `relative` (folders made as needed) with exactly `bytes`. Aborts when
    // the file cannot be written: a target must never fuzz a stale file.
    void write(const std::filesystem::path& relative, std::string_view bytes) const;

  private:
    std::filesystem::path path_;
};

}  // namespace aeroquin::fuzz
