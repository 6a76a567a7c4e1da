#include "host/FileLayer.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace aeroquin::host {

struct FileLayer::OpenFile {
    std::string name;  // as messages name it: relative to the root folder, '/' separated
    FileAccessMode mode = FILE_IN;
    std::optional<ItemFile> items;  // FILE_IN
    UniqueFd fd;                    // FILE_OUT, FILE_APP
    std::uint64_t linesLost = 0;
};

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
    char text[32];
    std::snprintf(text, sizeof text, "%p", handle);
    return text;
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
        if (!std::filesystem::is_regular_file(*path, error)) {
            log_.host("oapiOpenFile: " + file->name + " not found");
            return nullptr;
        }
        try {
            file->items = ItemFile::load(*path, file->name);
        } catch (const HostFileError& e) {
            log_.host(std::string("oapiOpenFile: ") + e.what());
            return nullptr;
        }
    } else if (mode == FILE_OUT || mode == FILE_APP) {
        const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == FILE_OUT ? O_TRUNC : O_APPEND);
        file->fd = UniqueFd(::open(path->c_str(), flags, 0644));
        if (!file->fd) {
            log_.host("oapiOpenFile: cannot create " + file->name + ": " + std::strerror(errno));
            return nullptr;
        }
        ++filesWritten_;
    } else {
        log_.host("oapiOpenFile: " + file->name + ": unknown access mode " +
                  std::to_string(static_cast<int>(mode)));
        return nullptr;
    }
    files_.push_back(std::move(file));
    return files_.back().get();
}

FileLayer::OpenFile* FileLayer::find(FILEHANDLE handle, const char* operation) {
    if (handle == nullptr) {
        log_.host(std::string(operation) + ": null file handle");
        return nullptr;
    }
    for (const auto& file : files_) {
        if (file.get() == handle) {
            return file.get();
        }
    }
    log_.host(std::string(operation) + ": " + handleText(handle) + " is not an open file");
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
    std::erase_if(files_, [file](const auto& open) { return open.get() == file; });
}

void FileLayer::finish(OpenFile& file) {
    if (file.linesLost > 0) {
        log_.host(file.name + ": " + std::to_string(file.linesLost) +
                  (file.linesLost == 1 ? " line" : " lines") + " could not be written");
    }
    if (!file.fd.reset()) {
        log_.host("oapiCloseFile: closing " + file.name + " failed: " + std::strerror(errno));
    }
}

void FileLayer::closeAll() {
    for (const auto& file : files_) {
        log_.host(file->name + " was left open by the module; closed");
        finish(*file);
    }
    files_.clear();
}

bool FileLayer::readString(FILEHANDLE handle, const char* item, char* out) {
    OpenFile* file = find(handle, "oapiReadItem_string");
    if (file == nullptr) {
        return false;
    }
    if (!file->items || item == nullptr || out == nullptr) {
        log_.host("oapiReadItem_string: " + file->name +
                  (file->items ? ": null item or buffer" : " is not open for reading"));
        return false;
    }
    const auto value = file->items->find(item);
    if (!value) {
        return false;
    }
    if (value->size() >= kItemBufferSize) {
        log_.host("oapiReadItem_string: " + file->name + ": the value of " + item + " has " +
                  std::to_string(value->size()) + " characters; at most " +
                  std::to_string(kItemBufferSize - 1) +
                  " fit the caller's buffer, so the item is refused");
        return false;
    }
    std::memcpy(out, value->c_str(), value->size() + 1);
    return true;
}

bool FileLayer::readInt(FILEHANDLE handle, const char* item, int& value) {
    OpenFile* file = find(handle, "oapiReadItem_int");
    if (file == nullptr) {
        return false;
    }
    if (!file->items || item == nullptr) {
        log_.host("oapiReadItem_int: " + file->name +
                  (file->items ? ": null item" : " is not open for reading"));
        return false;
    }
    const auto text = file->items->find(item);
    if (!text) {
        return false;
    }
    // from_chars takes '-' but not '+'; one '+' before a digit is a sign too.
    const char* first = text->data();
    const char* last = first + text->size();
    if (text->size() > 1 && *first == '+' && first[1] != '-' && first[1] != '+') {
        ++first;
    }
    int parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error == std::errc::result_out_of_range) {
        log_.host("oapiReadItem_int: " + file->name + ": " + item + " = " + *text +
                  " is outside the range of int");
        return false;
    }
    if (error != std::errc() || end != last) {
        log_.host("oapiReadItem_int: " + file->name + ": " + item + " = " + *text +
                  " is not a whole decimal integer");
        return false;
    }
    value = parsed;
    return true;
}

void FileLayer::writeLine(FILEHANDLE handle, const char* text) {
    OpenFile* file = find(handle, "oapiWriteLine");
    if (file == nullptr) {
        return;
    }
    if (!file->fd || text == nullptr) {
        log_.host("oapiWriteLine: " + file->name +
                  (file->fd ? ": null text" : " is not open for writing"));
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
    if (file->linesLost++ == 0) {
        log_.host("oapiWriteLine: writing " + file->name + " failed: " + failure +
                  "; the lines written before are kept");
    }
}

}  // namespace aeroquin::host
