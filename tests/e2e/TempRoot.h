// A temporary root folder for the host, copied from one of examples/.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// A root folder copied from one of examples/, removed with everything in it at destruction.
class TempRoot {
  public:
    explicit TempRoot(const std::string& example);
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    ~TempRoot();

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    void write(const std::string& relative, const std::string& text) const;
    void remove(const std::string& relative) const;
    [[nodiscard]] std::string read(const std::string& relative) const;
    // Lines without their line ends; an absent file gives no lines.
    [[nodiscard]] std::vector<std::string> lines(const std::string& relative) const;
    // The files in a folder below the root, by name.
    [[nodiscard]] std::vector<std::string> files(const std::string& relative) const;
    // Writes the module's configuration from its seven values.
    void configure(const std::string& vessel, const std::string& saveDirectory, int style,
                   const std::string& aoaIntervals, const std::string& aoaIncrements,
                   const std::string& machIntervals, const std::string& machIncrements) const;

  private:
    std::filesystem::path path_;
};

}  // namespace e2e
