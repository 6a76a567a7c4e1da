#include "host/support/ItemFile.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "host/support/ParseNumber.h"

namespace aeroquin::host {

namespace {

std::string joinChoices(std::initializer_list<std::string_view> choices) {
    std::string text;
    for (const auto choice : choices) {
        if (!text.empty()) {
            text += ", ";
        }
        text += choice;
    }
    return text;
}

}  // namespace

ItemFile::ItemFile(std::vector<Entry> entries, std::string name, std::optional<LongLine> longLine)
    : entries_(std::move(entries)), name_(std::move(name)), longLine_(longLine) {}

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark)) {
        text.remove_prefix(byteOrderMark.size());
    }
    return text;
}

ItemFile ItemFile::fromText(std::string_view text, std::string name, ByteOrderMark mark) {
    if (mark == ByteOrderMark::skip) {
        text = withoutByteOrderMark(text);
    }
    std::vector<Entry> entries;
    std::optional<LongLine> longLine;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        // The CR of a CRLF line end is part of the line end, as in the simulator's text mode.
        const std::size_t length = line.size() - (line.ends_with('\r') ? 1 : 0);
        if (length >= kItemLineLimit) {
            longLine = LongLine{lineNumber, length};
            break;
        }
        line = trim(line.substr(0, line.find(';')));
        if (equalsIgnoringCase(line, "END_PARSE")) {
            break;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        entries.push_back({std::string(trim(line.substr(0, equals))),
                           std::string(trim(line.substr(equals + 1))), lineNumber});
    }
    return {std::move(entries), std::move(name), longLine};
}

std::string readFileText(const std::filesystem::path& path, const std::string& name) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw HostFileError(name, 0, "cannot be read");
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        throw HostFileError(name, 0, "cannot be read");
    }
    return content.str();
}

ItemFile ItemFile::load(const std::filesystem::path& path, std::string name) {
    const std::string text = readFileText(path, name);
    ItemFile items = fromText(text, std::move(name));
    if (items.longLine_) {
        throw HostFileError(items.name_, items.longLine_->line,
                            "a line of " + std::to_string(items.longLine_->length) +
                                " characters; lines must be shorter than " +
                                std::to_string(kItemLineLimit) +
                                " characters, or they end the reading");
    }
    return items;
}

const ItemFile::Entry* ItemFile::entry(std::string_view key) const {
    const std::string_view wanted = trim(key);
    for (const auto& e : entries_) {
        if (equalsIgnoringCase(e.key, wanted)) {
            return &e;
        }
    }
    return nullptr;
}

std::vector<std::pair<std::string, int>> ItemFile::keys() const {
    std::vector<std::pair<std::string, int>> keys;
    keys.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        keys.emplace_back(entry.key, entry.line);
    }
    return keys;
}

std::optional<std::string> ItemFile::find(std::string_view key) const {
    const Entry* e = entry(key);
    if (e == nullptr || e->value.empty()) {
        return std::nullopt;
    }
    return e->value;
}

int ItemFile::lineOf(std::string_view key) const {
    const Entry* e = entry(key);
    return e == nullptr ? 0 : e->line;
}

HostFileError ItemFile::error(std::string_view key, const std::string& detail) const {
    return {name_, lineOf(key), detail};
}

std::string ItemFile::requireString(std::string_view key) const {
    auto value = find(key);
    if (!value) {
        throw error(key, std::string(key) + " missing");
    }
    return std::move(*value);
}

double ItemFile::requireNumber(std::string_view key) const {
    const std::string text = requireString(key);
    const auto value = parseNumber(text);
    if (!value) {
        throw error(key, std::string(key) + " must be a number");
    }
    if (!std::isfinite(*value)) {
        throw error(key, std::string(key) + " must be finite");
    }
    return *value;
}

double ItemFile::requirePositive(std::string_view key) const {
    const double value = requireNumber(key);
    // A subnormal value is as good as zero: its reciprocal overflows.
    if (!(value > 0.0) || !std::isnormal(value)) {
        throw error(key, std::string(key) + " must be positive");
    }
    return value;
}

double ItemFile::optionalNumber(std::string_view key, double fallback) const {
    return find(key) ? requireNumber(key) : fallback;
}

std::size_t ItemFile::requireChoice(std::string_view key,
                                    std::initializer_list<std::string_view> choices) const {
    const std::string text = requireString(key);
    std::size_t index = 0;
    for (const auto choice : choices) {
        if (equalsIgnoringCase(text, choice)) {
            return index;
        }
        ++index;
    }
    throw error(key, std::string(key) + " must be one of " + joinChoices(choices));
}

std::size_t ItemFile::optionalChoice(std::string_view key,
                                     std::initializer_list<std::string_view> choices,
                                     std::size_t fallback) const {
    return find(key) ? requireChoice(key, choices) : fallback;
}

}  // namespace aeroquin::host
