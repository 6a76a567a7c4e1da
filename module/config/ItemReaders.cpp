#include "module/config/ItemReaders.h"

#include <algorithm>
#include <array>
#include <istream>
#include <sstream>

#include "module/config/ConfigurationError.h"

namespace aeroquin {

namespace {

[[noreturn]] void throwMissing(const std::string& key) {
    std::ostringstream detail;
    detail << " - " << key << " not found.";
    throw ConfigurationError(detail.str());
}

[[noreturn]] void throwUnparsable(const std::string& key) {
    std::ostringstream detail;
    detail << " - error while parsing " << key;
    throw ConfigurationError(detail.str());
}

// Formatted extraction of a default stream: decimal, classic locale, whitespace between
// numbers. For unsigned counts it yields "-1" as 4294967295 and fails above 4294967295; for
// doubles it fails beyond the range of a double.
template <typename Number>
bool parseList(const std::string& text, std::vector<Number>& list) {
    list.clear();
    std::istringstream stream(text);
    for (;;) {
        stream >> std::ws;
        if (stream.eof()) {
            return true;
        }
        Number value{};
        if (!(stream >> value)) {
            return false;
        }
        list.push_back(value);
    }
}

template <typename Number>
void readList(FILEHANDLE file, const std::string& key, std::vector<Number>& list) {
    list.clear();
    std::string text;
    readString(file, key, text);
    if (!parseList(text, list)) {
        throwUnparsable(key);
    }
}

}  // namespace

bool readOptionalString(FILEHANDLE file, const std::string& key, std::string& out) {
    out.clear();
    // The host takes the key as a mutable string.
    std::string item = key;
    std::array<char, simulator::kItemBufferSize> buffer{};
    if (!oapiReadItem_string(file, item.data(), buffer.data())) {
        return false;
    }
    // Stop at the buffer's end even if the host left no terminator.
    out.assign(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
    return true;
}

void readString(FILEHANDLE file, const std::string& key, std::string& out) {
    if (!readOptionalString(file, key, out)) {
        throwMissing(key);
    }
}

bool parseWholeInt(const std::string& text, std::int32_t& value) {
    std::istringstream stream(text);
    return static_cast<bool>(stream >> value) && (stream >> std::ws).eof();
}

bool parseWholeReal(const std::string& text, double& value) {
    std::istringstream stream(text);
    return static_cast<bool>(stream >> value) && (stream >> std::ws).eof();
}

void readBoundedInt(FILEHANDLE file, const std::string& key, std::int32_t& out, std::int32_t min,
                    std::int32_t max) {
    std::string item = key;
    int value = 0;
    if (!oapiReadItem_int(file, item.data(), value)) {
        throwMissing(key);
    }
    if (value < min || value > max) {
        std::ostringstream detail;
        detail << " - " << key << " = " << value << " is out of bounds: [" << min << ", " << max
               << "]";
        throw ConfigurationError(detail.str());
    }
    out = value;
}

void readRealList(FILEHANDLE file, const std::string& key, std::vector<double>& list) {
    readList(file, key, list);
}

void readCountList(FILEHANDLE file, const std::string& key, std::vector<std::uint32_t>& list) {
    readList(file, key, list);
}

bool parseRealList(const std::string& text, std::vector<double>& list) {
    return parseList(text, list);
}

bool parseCountList(const std::string& text, std::vector<std::uint32_t>& list) {
    return parseList(text, list);
}

}  // namespace aeroquin
