// The files a module opens through the host: item files to read (FILE_IN, FILE_IN_ZEROONFAIL)
// and text files to write (FILE_OUT, FILE_APP). Paths are relative to a path root (ROOT = the root
// folder, CONFIG = <root>/Config, SCENARIOS = <root>/Scenarios); backslashes become '/', and an
// absolute path is taken as it is. Nothing here creates a directory. Handles are never reused
// (HandleTable.h): a foreign handle, or one of a file already closed, is refused with a host: log
// line rather than followed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/interface/HandleTable.h"
#include "host/interface/HostLog.h"
#include "host/interface/UniqueFd.h"
#include "host/support/ItemFile.h"
#include "module/simulator/HostApi.h"

namespace aeroquin::host {

class FileLayer {
  public:
    // `log` receives the host: lines and must outlive the layer. With `failWritesAfter` set,
    // every oapiWriteLine after that many lines (counted over all files) fails as on a full
    // disk: testing only.
    FileLayer(std::filesystem::path root, HostLog& log,
              std::optional<std::uint64_t> failWritesAfter);
    FileLayer(const FileLayer&) = delete;
    FileLayer& operator=(const FileLayer&) = delete;
    FileLayer(FileLayer&&) = delete;
    FileLayer& operator=(FileLayer&&) = delete;
    ~FileLayer();

    // As the simulator: FILE_IN, FILE_OUT and FILE_APP always give a handle, a dead one when
    // the file cannot be read or created (reads find nothing, writes are lost), each with a
    // host: line; FILE_IN_ZEROONFAIL gives null when the file cannot be read, but a handle that
    // reads nothing for a folder, which the simulator's Linux build opens as a file.
    FILEHANDLE open(const char* name, FileAccessMode mode, PathRoot root);
    void close(FILEHANDLE handle, FileAccessMode mode);

    // `out` receives at most kItemLineLimit characters, NUL included.
    bool readString(FILEHANDLE handle, const char* item, char* out);
    // The value read as sscanf's "%d" reads it: the leading integer, the rest ignored. No
    // leading integer, or one outside int's range, answers false.
    bool readInt(FILEHANDLE handle, const char* item, int& value);
    // The text and a line feed, handed to the system at once.
    void writeLine(FILEHANDLE handle, const char* text);

    // Files really opened for writing during the run.
    [[nodiscard]] std::size_t filesWritten() const { return filesWritten_; }
    // Lines the module wrote that reached no file: failed writes and writes through dead
    // handles, over the whole run.
    [[nodiscard]] std::uint64_t linesLost() const { return linesLost_; }
    // Closes what the module left open, each with a host: line.
    void closeAll();

    // Where a module's path lands; nothing when the root value is unknown.
    std::optional<std::filesystem::path> resolve(const char* name, PathRoot root) const;

  private:
    struct OpenFile {
        std::string name;  // as messages name it: relative to the root folder, '/' separated
        FileAccessMode mode = FILE_IN;
        std::optional<ItemFile> items;  // FILE_IN, FILE_IN_ZEROONFAIL
        UniqueFd fd;                    // FILE_OUT, FILE_APP
        // Opened for the module although the file could not be: reads find nothing, writes are
        // lost.
        bool dead = false;
        std::uint64_t linesLost = 0;
    };

    OpenFile* find(FILEHANDLE handle, const char* operation);
    // A live file open for reading; null after a host: line (or silently for a dead handle).
    OpenFile* findReadable(FILEHANDLE handle, const char* operation, const char* item);
    // The item's value; a miss caused by a long line is said once per file and item.
    std::optional<std::string> findItem(const OpenFile& file, const char* operation,
                                        const char* item);
    void finish(OpenFile& file);

    std::filesystem::path root_;
    HostLog& log_;
    std::optional<std::uint64_t> failWritesAfter_;
    std::uint64_t linesAttempted_ = 0;
    std::size_t filesWritten_ = 0;
    std::uint64_t linesLost_ = 0;
    HandleTable<OpenFile> files_{0xF11E0000};
    std::string lineBuffer_;                      // reused for every written line
    std::vector<std::string> longLinesReported_;  // "<file>\n<item in lower case>"
};

}  // namespace aeroquin::host
