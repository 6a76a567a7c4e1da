// A root folder for one test or fuzz target: a fresh, private folder made by mkdtemp (in the
// system's temporary directory, TMPDIR honoured, or in a given parent), optionally a copy of one
// of examples/, removed with everything in it at destruction.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace aeroquin::testsupport {

class TempRoot {
  public:
    // `example`: a folder of examples/ to copy in; empty for an empty root.
    explicit TempRoot(const std::string& example = {}, const std::filesystem::path& parent = {});
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    ~TempRoot();

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

    // Replaces the file at `relative` (folders made as needed) with exactly `bytes`; throws when
    // it cannot be written, so that nobody reads a stale file.
    void write(const std::string& relative, std::string_view bytes) const;
    void remove(const std::string& relative) const;
    [[nodiscard]] bool exists(const std::string& relative) const;
    // The whole file; an absent file reads as empty.
    [[nodiscard]] std::string read(const std::string& relative) const;
    // Lines without their "\n" (a "\r" stays); an absent file gives no lines.
    [[nodiscard]] std::vector<std::string> lines(const std::string& relative) const;
    // The files in a folder below the root, by name, sorted; .gitkeep left out.
    [[nodiscard]] std::vector<std::string> files(const std::string& relative) const;

    // The host's log, host.log in the root.
    [[nodiscard]] std::string log() const { return read("host.log"); }
    [[nodiscard]] std::vector<std::string> logLines() const { return lines("host.log"); }
    [[nodiscard]] std::vector<std::string> logLinesStartingWith(std::string_view prefix) const;

  private:
    std::filesystem::path path_;
};

// A report's lines with the header's "Label = value" lines (with optional items the capture says
// there what it captured) moved into `items`: the column line at index 5, as without them.
std::vector<std::string> withoutHeaderItems(std::vector<std::string> report,
                                            std::vector<std::string>* items = nullptr);

// Lines of `text` without their "\n".
std::vector<std::string> splitLines(const std::string& text);

}  // namespace aeroquin::testsupport
