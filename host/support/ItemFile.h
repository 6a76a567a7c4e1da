// Item files: the module's configuration and the host's own files share this syntax.
//
// One "Key = value" per line. The key is the text before the first '=', trimmed; keys match
// without regard to ASCII letter case (other bytes match exactly). The first line with a
// matching key wins, even when its value is empty: an empty value counts as missing and later
// lines with the same key are not consulted. A ';' anywhere on a line starts a comment, so a
// value cannot contain ';'. Keys and values are trimmed of blanks, tabs and carriage returns
// at both ends, so CRLF files read like LF files. Lines without '=' are ignored. A UTF-8 byte
// order mark at the start of the text is skipped in the host's own files; the files a module
// reads keep it as the first line's first bytes, as the simulator's item reader does. Other
// bytes, non-ASCII ones included, pass through unchanged.
//
// The search ends, as the simulator's does, at a line that reads END_PARSE (any case, after the
// comment and the blanks are dropped) and at a line of kItemLineLimit characters or more (the
// line end not counted): neither that line nor any later one is read.
#pragma once

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/support/HostFileError.h"
#include "host/support/Text.h"

namespace aeroquin::host {

// Lines this long or longer end the search: the simulator reads lines into a buffer of this
// size, NUL included.
inline constexpr std::size_t kItemLineLimit = 512;

// The whole content of a file; throws HostFileError "<name>: cannot be read".
[[nodiscard]] std::string readFileText(const std::filesystem::path& path, const std::string& name);

class ItemFile {
  public:
    // The line that ended the search by its length.
    struct LongLine {
        int line;  // 1-based
        std::size_t length;
    };

    // `name` is how messages name the file, e.g. "Config/Earth.cfg". A long line is no error
    // here: see longLine().
    enum class ByteOrderMark { skip, keep };
    static ItemFile fromText(std::string_view text, std::string name,
                             ByteOrderMark mark = ByteOrderMark::skip);
    // The host's own files. Throws HostFileError "<name>: cannot be read" when the file cannot
    // be opened or read, and "<name>:<line>: a line of N characters; ..." when a long line
    // would end the search.
    static ItemFile load(const std::filesystem::path& path, std::string name);

    // The value of the first line whose key matches; nullopt when none or when it is empty.
    [[nodiscard]] std::optional<std::string> find(std::string_view key) const;
    // 1-based line of the first line whose key matches (even when its value is empty);
    // 0 when no line matches.
    [[nodiscard]] int lineOf(std::string_view key) const;
    [[nodiscard]] const std::string& name() const { return name_; }
    // Every key read, in file order, with its 1-based line.
    [[nodiscard]] std::vector<std::pair<std::string, int>> keys() const;
    // The line of kItemLineLimit characters or more that ended the search; nothing when the
    // search reaches the end of the text or an END_PARSE line first.
    [[nodiscard]] const std::optional<LongLine>& longLine() const { return longLine_; }

    // An error about an item: "<name>:<line of key>: <detail>", or "<name>: <detail>" when the
    // key is on no line.
    [[nodiscard]] HostFileError error(std::string_view key, const std::string& detail) const;

    // Typed readers for the host's own files. Every failure is a HostFileError naming the file
    // and the item's line: "<Key> missing", "<Key> must be a number", "<Key> must be finite",
    // "<Key> must be one of A, B, C". The key in messages is spelled as the caller gives it.
    [[nodiscard]] std::string requireString(std::string_view key) const;
    [[nodiscard]] double requireNumber(std::string_view key) const;
    // As requireNumber, and "<Key> must be positive" unless above zero.
    [[nodiscard]] double requirePositive(std::string_view key) const;
    [[nodiscard]] double optionalNumber(std::string_view key, double fallback) const;
    // Index of the choice that matches the value, ASCII case ignored.
    [[nodiscard]] std::size_t requireChoice(std::string_view key,
                                            std::initializer_list<std::string_view> choices) const;
    [[nodiscard]] std::size_t optionalChoice(std::string_view key,
                                             std::initializer_list<std::string_view> choices,
                                             std::size_t fallback) const;

  private:
    struct Entry {
        std::string key;
        std::string value;
        int line;
    };

    ItemFile(std::vector<Entry> entries, std::string name, std::optional<LongLine> longLine);
    [[nodiscard]] const Entry* entry(std::string_view key) const;

    std::vector<Entry> entries_;
    std::string name_;
    std::optional<LongLine> longLine_;
};

// `text` without the UTF-8 byte order mark that editors and spreadsheets put at its start.
[[nodiscard]] std::string_view withoutByteOrderMark(std::string_view text);

}  // namespace aeroquin::host
