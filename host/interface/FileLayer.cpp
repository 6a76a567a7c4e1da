#include "host/interface/FileLayer.h"

#include <fcntl.h>
#include <array>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <system_error>

#include "host/support/ParseNumber.h"

namespace aeroquin::host {

namespace {

const char* modeName(FileAccessMode mode) {
    switch (mode) {
        case FILE_IN:
            return "FILE_IN";
        case FILE_OUT:
            return "FILE_OUT";
        case FILE_APP:
            return "FILE_APP";
        case FILE_IN_ZEROONFAIL:
            return "FILE_IN_ZEROONFAIL";
    }
    return "an unknown mode";
}

std::string handleText(FILEHANDLE handle) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%p", handle);
    return text.data();
}

std::string quoted(const char* text) {
    return text == nullptr ? std::string("(null)") : std::string(text);
}

}  // namespace

FileLayer::FileLayer(std::filesystem::path root, HostLog& log,
                     std::optional<std::uint64_t> failWritesAfter)
    : root_(std::move(root)), log_(log), failWritesAfter_(failWritesAfter) {
    lineBuffer_.reserve(256);
}

FileLayer::~FileLayer() {
    closeAll();
}

std::optional<std::filesystem::path> FileLayer::resolve(const char* name, PathRoot root) const {
    if (name == nullptr) {
        return std::nullopt;
    }
    std::string relative(name);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    switch (root) {
        case ROOT:
            return root_ / relative;
        case CONFIG:
            return root_ / "Config" / relative;
        case SCENARIOS:
            return root_ / "Scenarios" / relative;
        case TEXTURES:
            return root_ / "Textures" / relative;
        case TEXTURES2:
            return root_ / "Textures2" / relative;
        case MESHES:
            return root_ / "Meshes" / relative;
        case MODULES:
            return root_ / "Modules" / relative;
    }
    return std::nullopt;
}

FILEHANDLE FileLayer::open(const char* name, FileAccessMode mode, PathRoot root) {
    const auto path = resolve(name, root);
    if (!path) {
        log_.host(std::string("oapiOpenFile: cannot open ") + quoted(name) + " (path root " +
                  std::to_string(static_cast<int>(root)) + ")");
        return nullptr;
    }
    auto file = std::make_unique<OpenFile>();
    file->mode = mode;
    file->name = path->lexically_relative(root_).generic_string();
    if (file->name.empty() || file->name.starts_with("..")) {
        file->name = path->generic_string();
    }

    if (mode == FILE_IN || mode == FILE_IN_ZEROONFAIL) {
        std::error_code error;
        std::string failure = " not found";
        if (std::filesystem::is_regular_file(*path, error)) {
            try {
                // As the simulator reads it: a byte-order mark is part of the first key.
                file->items = ItemFile::fromText(readFileText(*path, file->name), file->name,
                                                 ItemFile::ByteOrderMark::keep);
            } catch (const HostFileError&) {
                failure = " cannot be read";
            }
        }
        // The simulator's ifstream opens a folder on Linux, and reads nothing from it.
        const bool folder = std::filesystem::is_directory(*path, error);
        if (folder) {
            failure = " is a folder";
        }
        if (!file->items) {
            if (mode == FILE_IN_ZEROONFAIL && !folder) {
                log_.host("oapiOpenFile: " + file->name + failure +
                          "; FILE_IN_ZEROONFAIL answers null");
                return nullptr;
            }
            file->dead = true;
            log_.host("oapiOpenFile: " + file->name + failure +
                      "; the simulator hands out a handle all the same, and every item read "
                      "through it is not found");
        }
    } else if (mode == FILE_OUT || mode == FILE_APP) {
        const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == FILE_OUT ? O_TRUNC : O_APPEND);
        file->fd = UniqueFd(::open(path->c_str(), flags, 0644));
        if (file->fd) {
            ++filesWritten_;
        } else {
            file->dead = true;
            log_.host("oapiOpenFile: cannot create " + file->name + ": " + std::strerror(errno) +
                      "; the simulator hands out a handle all the same, and every line written "
                      "through it is lost");
        }
    } else {
        log_.host("oapiOpenFile: " + file->name + ": unknown access mode " +
                  std::to_string(static_cast<int>(mode)));
        return nullptr;
    }
    return files_.add(std::move(file));
}

FileLayer::OpenFile* FileLayer::find(FILEHANDLE handle, const char* operation) {
    const auto found = files_.find(handle);
    switch (found.state) {
        case HandleTable<OpenFile>::State::live:
            return found.object;
        case HandleTable<OpenFile>::State::null:
            log_.host(std::string(operation) + ": null file handle");
            break;
        case HandleTable<OpenFile>::State::ended:
            log_.host(std::string(operation) + ": " + handleText(handle) +
                      " is the handle of a file already closed");
            break;
        case HandleTable<OpenFile>::State::foreign:
            log_.host(std::string(operation) + ": " + handleText(handle) + " is not an open file");
            break;
    }
    return nullptr;
}

void FileLayer::close(FILEHANDLE handle, FileAccessMode mode) {
    OpenFile* file = find(handle, "oapiCloseFile");
    if (file == nullptr) {
        return;
    }
    if (mode != file->mode) {
        log_.host(std::string("oapiCloseFile: ") + file->name + " was opened with " +
                  modeName(file->mode) + ", closed with " + modeName(mode));
    }
    finish(*file);
    files_.take(handle);
}

void FileLayer::finish(OpenFile& file) {
    if (file.linesLost > 0 && !file.dead) {
        log_.host(file.name + ": " + std::to_string(file.linesLost) +
                  (file.linesLost == 1 ? " line" : " lines") + " could not be written");
    }
    if (!file.fd.reset()) {
        log_.host("oapiCloseFile: closing " + file.name + " failed: " + std::strerror(errno));
    }
}

void FileLayer::closeAll() {
    for (const auto& [id, file] : files_.live()) {
        log_.host(file->name + " was left open by the module; closed");
        finish(*file);
    }
    files_.clear();
}

FileLayer::OpenFile* FileLayer::findReadable(FILEHANDLE handle, const char* operation,
                                             const char* item) {
    OpenFile* file = find(handle, operation);
    if (file == nullptr) {
        return nullptr;
    }
    const bool reading = file->mode == FILE_IN || file->mode == FILE_IN_ZEROONFAIL;
    if (!reading || item == nullptr) {
        log_.host(std::string(operation) + ": " + file->name +
                  (reading ? ": null item" : " is not open for reading"));
        return nullptr;
    }
    // A dead handle: its opening has said so.
    return file->dead ? nullptr : file;
}

std::optional<std::string> FileLayer::findItem(const OpenFile& file, const char* operation,
                                               const char* item) {
    auto value = file.items->find(item);
    const auto& longLine = file.items->longLine();
    if (value || !longLine || file.items->lineOf(item) != 0) {
        return value;
    }
    // Said once per file and item: a module may read the same item every frame.
    std::string seen = file.name + '\n';
    for (const char* c = item; *c != '\0'; ++c) {
        seen.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
    }
    if (std::find(longLinesReported_.begin(), longLinesReported_.end(), seen) ==
        longLinesReported_.end()) {
        longLinesReported_.push_back(std::move(seen));
        log_.host(std::string(operation) + ": " + file.name + ":" + std::to_string(longLine->line) +
                  ": a line of " + std::to_string(longLine->length) +
                  " characters ends the search, as in the simulator; " + item + " is not found");
    }
    return std::nullopt;
}

bool FileLayer::readString(FILEHANDLE handle, const char* item, char* out) {
    const OpenFile* file = findReadable(handle, "oapiReadItem_string", item);
    if (file == nullptr) {
        return false;
    }
    if (out == nullptr) {
        log_.host("oapiReadItem_string: " + file->name + ": null buffer");
        return false;
    }
    const auto value = findItem(*file, "oapiReadItem_string", item);
    if (!value) {
        return false;
    }
    // Every value comes from a line shorter than kItemLineLimit, so it fits the buffer.
    static_assert(kItemLineLimit <= simulator::kItemBufferSize);
    std::memcpy(out, value->c_str(), value->size() + 1);
    return true;
}

bool FileLayer::readInt(FILEHANDLE handle, const char* item, int& value) {
    const OpenFile* file = findReadable(handle, "oapiReadItem_int", item);
    if (file == nullptr) {
        return false;
    }
    const auto text = findItem(*file, "oapiReadItem_int", item);
    if (!text) {
        return false;
    }
    std::size_t used = 0;
    const auto scanned = scanInteger(*text, &used);
    const std::string where = "oapiReadItem_int: " + file->name + ": " + item + " = " + *text;
    if (!scanned) {
        log_.host(where +
                  " does not begin with an integer, so it is not found, as in the simulator");
        return false;
    }
    if (*scanned < std::numeric_limits<int>::min() || *scanned > std::numeric_limits<int>::max()) {
        log_.host(where +
                  " is outside the range of int, where the simulator's reading is undefined; "
                  "not found");
        return false;
    }
    value = static_cast<int>(*scanned);
    if (used < text->size()) {
        log_.host(where + " reads as " + std::to_string(value) +
                  "; the rest is ignored, as in the simulator");
    }
    return true;
}

void FileLayer::writeLine(FILEHANDLE handle, const char* text) {
    OpenFile* file = find(handle, "oapiWriteLine");
    if (file == nullptr) {
        return;
    }
    const bool writing = file->mode == FILE_OUT || file->mode == FILE_APP;
    if (!writing || text == nullptr) {
        log_.host("oapiWriteLine: " + file->name +
                  (writing ? ": null text" : " is not open for writing"));
        return;
    }
    if (file->dead) {
        ++linesLost_;
        if (file->linesLost++ == 0) {
            log_.host("oapiWriteLine: " + file->name + " could not be created; its lines are lost");
        }
        return;
    }
    ++linesAttempted_;
    std::string failure;
    if (failWritesAfter_ && linesAttempted_ > *failWritesAfter_) {
        failure = "no space left (simulated after " + std::to_string(*failWritesAfter_) +
                  " lines by --fail-writes-after)";
    } else {
        lineBuffer_.assign(text);
        lineBuffer_.push_back('\n');
        if (writeAll(file->fd.get(), lineBuffer_.data(), lineBuffer_.size())) {
            return;
        }
        failure = std::strerror(errno);
    }
    ++linesLost_;
    if (file->linesLost++ == 0) {
        log_.host("oapiWriteLine: writing " + file->name + " failed: " + failure +
                  "; the lines written before are kept");
    }
}

}  // namespace aeroquin::host
