#include "fuzz/ItemFileShim.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "host/sim/HostFileError.h"
#include "host/sim/ItemFile.h"
#include "module/HostApi.h"

namespace aeroquin::fuzz {

namespace {

// The open files. The host interface is a set of free functions, so its state has to live
// somewhere they all reach.
class OpenItemFiles {
  public:
    static OpenItemFiles& get() {
        static OpenItemFiles files;
        return files;
    }

    void setRoot(const std::filesystem::path& root) { root_ = root; }
    [[nodiscard]] std::size_t count() const { return files_.size(); }

    FILEHANDLE open(const char* name, FileAccessMode mode, PathRoot root) {
        if (name == nullptr || mode != FILE_IN) {
            return nullptr;
        }
        std::string relative(name);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        std::filesystem::path path;
        switch (root) {
            case ROOT:
                path = root_ / relative;
                break;
            case CONFIG:
                path = root_ / "Config" / relative;
                break;
            case SCENARIOS:
                path = root_ / "Scenarios" / relative;
                break;
            default:
                return nullptr;
        }
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            return nullptr;
        }
        try {
            files_.push_back(std::make_unique<host::ItemFile>(host::ItemFile::load(path, name)));
        } catch (const host::HostFileError&) {
            return nullptr;
        }
        return files_.back().get();
    }

    const host::ItemFile& find(FILEHANDLE handle, const char* operation) const {
        for (const auto& file : files_) {
            if (file.get() == handle) {
                return *file;
            }
        }
        std::fprintf(stderr, "aeroquin fuzz: %s on %p, which is not an open file\n", operation,
                     handle);
        std::abort();
    }

    void close(FILEHANDLE handle, FileAccessMode mode) {
        const host::ItemFile& file = find(handle, "oapiCloseFile");
        if (mode != FILE_IN) {
            std::fprintf(stderr, "aeroquin fuzz: %s opened for reading, closed with mode %d\n",
                         file.name().c_str(), static_cast<int>(mode));
            std::abort();
        }
        std::erase_if(files_, [&file](const auto& open) { return open.get() == &file; });
    }

  private:
    std::filesystem::path root_ = ".";
    std::vector<std::unique_ptr<host::ItemFile>> files_;
};

}  // namespace

void setItemFileRoot(const std::filesystem::path& root) {
    OpenItemFiles::get().setRoot(root);
}

std::size_t openItemFiles() {
    return OpenItemFiles::get().count();
}

std::optional<int> parseItemInt(std::string_view text) {
    // from_chars takes '-' but not '+'; one '+' before a digit is a sign too.
    const char* first = text.data();
    const char* last = first + text.size();
    if (text.size() > 1 && *first == '+' && first[1] != '-' && first[1] != '+') {
        ++first;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace aeroquin::fuzz

using aeroquin::fuzz::OpenItemFiles;

FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root) {
    return OpenItemFiles::get().open(fname, mode, root);
}

void oapiCloseFile(FILEHANDLE file, FileAccessMode mode) {
    OpenItemFiles::get().close(file, mode);
}

bool oapiReadItem_string(FILEHANDLE file, char* item, char* string) {
    const auto& items = OpenItemFiles::get().find(file, "oapiReadItem_string");
    if (item == nullptr || string == nullptr) {
        return false;
    }
    const auto value = items.find(item);
    if (!value || value->size() >= aeroquin::fuzz::kItemBufferSize) {
        return false;
    }
    std::memcpy(string, value->c_str(), value->size() + 1);
    return true;
}

bool oapiReadItem_int(FILEHANDLE file, char* item, int& value) {
    const auto& items = OpenItemFiles::get().find(file, "oapiReadItem_int");
    if (item == nullptr) {
        return false;
    }
    const auto text = items.find(item);
    if (!text) {
        return false;
    }
    const auto parsed = aeroquin::fuzz::parseItemInt(*text);
    if (!parsed) {
        return false;
    }
    value = *parsed;
    return true;
}
