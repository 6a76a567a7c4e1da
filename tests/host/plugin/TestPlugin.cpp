// A plug-in for testing the host: it records every callback, the start argument and the results
// of host operations as "plugin: ..." log lines, and does what Config/Modules/Plugin/
// TestPlugin.cfg asks (read through the host's own item-file functions):
//   Echo = text                      logged verbatim at simulation start
//   ReadStrings = KEY KEY ...        oapiReadItem_string of each key, with a guard behind the
//                                    1000-character buffer
//   ReadInts = KEY KEY ...           oapiReadItem_int of each key
//   Dates = text|text|...            Date2Int of each text
//   Clock = 1                        GetSystemTime in every pre-step
//   FrameOneStatus = text            the last line logged in frame 1 (the module's status as
//                                    the host judges the start; default "Aeroquin - Manager
//                                    initialized ok"; "-": nothing)
//   Quiet = 1                        no records of the step callbacks
//   CompleteAtFrame = N              "Capture completed" logged in the pre-step of frame N
//   ThrowIn = callback, ThrowAtFrame = N, ThrowKind = runtime_error | int
//   RaiseAtFrame = N, RaiseSignal = INT | TERM | KILL   (raised in the pre-step)
//   OutputFile = path, OutputMode = 1 | 2 (FILE_OUT, FILE_APP), CheckFlush = 1, LeakFile = 1
//                                    one line "row N" per post-step
//   Annotation = 1                   made at start, its text set in every pre-step, deleted
//                                    at the end
//   Vessel = name, StatusExVersion = N    vessel operations in every pre-step
//   BadHandles = 1                   foreign handles, and handles of a file and an annotation
//                                    already ended, handed to the host at start
#include <dlfcn.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "module/contract/StatusTexts.h"
#include "module/simulator/HostApi.h"

namespace {

void log(const std::string& text) {
    std::string line = text;
    oapiWriteLog(line.data());
}

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.8f", value);
    return text;
}

HINSTANCE ownHandle() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ownHandle), &info) == 0 || info.dli_fname == nullptr) {
        return nullptr;
    }
    void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle;
}

HINSTANCE attachedHandle = nullptr;

__attribute__((constructor)) void onAttach() {
    attachedHandle = ownHandle();
    InitLib(attachedHandle);
    for (const char* name : {"InitModule", "ExitModule", "malloc"}) {
        log(std::string("plugin: GetProcAddress ") + name + " -> " +
            (GetProcAddress(attachedHandle, name) != nullptr ? "found" : "null"));
    }
}

__attribute__((destructor)) void onDetach() {
    log("plugin: library detached");
}

struct Settings {
    std::string echo;
    std::vector<std::string> readStrings;
    std::vector<std::string> readInts;
    std::vector<std::string> dates;
    bool clock = false;
    std::string frameOneStatus;
    bool quiet = false;
    long completeAtFrame = 0;
    std::string throwIn;
    long throwAtFrame = 0;
    std::string throwKind = "runtime_error";
    long raiseAtFrame = 0;
    std::string raiseSignal = "INT";
    std::string outputFile;
    int outputMode = FILE_OUT;
    bool checkFlush = false;
    bool leakFile = false;
    bool annotation = false;
    std::string vessel;
    DWORD statusExVersion = 2;
    bool badHandles = false;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        if (separator != ' ' || !part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

class Config {
  public:
    Config() {
        char path[] = "Modules\\Plugin\\TestPlugin.cfg";
        file_ = oapiOpenFile(path, FILE_IN, CONFIG);
    }
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;
    ~Config() {
        if (file_ != nullptr) {
            oapiCloseFile(file_, FILE_IN);
        }
    }
    bool open() const { return file_ != nullptr; }
    FILEHANDLE handle() const { return file_; }

    std::string text(const char* key, const std::string& fallback = "") const {
        if (file_ == nullptr) {
            return fallback;
        }
        std::string item = key;
        char value[1000];
        return oapiReadItem_string(file_, item.data(), value) ? std::string(value) : fallback;
    }
    long count(const char* key) const { return std::stol(text(key, "0")); }

  private:
    FILEHANDLE file_ = nullptr;
};

Settings readSettings(const Config& config) {
    Settings s;
    s.echo = config.text("Echo");
    s.readStrings = split(config.text("ReadStrings"), ' ');
    s.readInts = split(config.text("ReadInts"), ' ');
    s.dates = split(config.text("Dates"), '|');
    s.clock = config.count("Clock") != 0;
    s.frameOneStatus =
        config.text("FrameOneStatus", std::string(aeroquin::contract::kStartedStatus));
    s.quiet = config.count("Quiet") != 0;
    s.completeAtFrame = config.count("CompleteAtFrame");
    s.throwIn = config.text("ThrowIn");
    s.throwAtFrame = config.count("ThrowAtFrame");
    s.throwKind = config.text("ThrowKind", "runtime_error");
    s.raiseAtFrame = config.count("RaiseAtFrame");
    s.raiseSignal = config.text("RaiseSignal", "INT");
    s.outputFile = config.text("OutputFile");
    s.outputMode = static_cast<int>(std::stol(config.text("OutputMode", "1")));
    s.checkFlush = config.count("CheckFlush") != 0;
    s.leakFile = config.count("LeakFile") != 0;
    s.annotation = config.count("Annotation") != 0;
    s.vessel = config.text("Vessel");
    s.statusExVersion = static_cast<DWORD>(std::stoul(config.text("StatusExVersion", "2")));
    s.badHandles = config.count("BadHandles") != 0;
    return s;
}

// Item reads, each with a guard region behind the 1000-character buffer.
void readItems(const Config& config, const Settings& s) {
    constexpr std::size_t buffer = 1000;
    constexpr std::size_t guard = 64;
    for (const auto& key : s.readStrings) {
        std::vector<char> memory(buffer + guard, '#');
        std::string item = key;
        const bool found = oapiReadItem_string(config.handle(), item.data(), memory.data());
        bool intact = true;
        for (std::size_t i = buffer; i < memory.size(); ++i) {
            intact = intact && memory[i] == '#';
        }
        log("plugin: ReadItem_string " + key + " -> " +
            (found ? "true " + std::to_string(std::strlen(memory.data())) : "false") +
            (intact ? ", guard intact" : ", guard overwritten"));
    }
    for (const auto& key : s.readInts) {
        std::string item = key;
        int value = -12345;
        const bool found = oapiReadItem_int(config.handle(), item.data(), value);
        log("plugin: ReadItem_int " + key + " -> " + (found ? "true " : "false ") +
            std::to_string(value));
    }
}

class TestModule : public oapi::Module {
  public:
    explicit TestModule(HINSTANCE instance) : oapi::Module(instance) {}
    TestModule(const TestModule&) = delete;
    TestModule& operator=(const TestModule&) = delete;
    ~TestModule() override { log("plugin: module destroyed"); }

    void clbkSimulationStart(RenderMode mode) override {
        log("plugin: clbkSimulationStart " + std::to_string(static_cast<int>(mode)));
        {
            const Config config;
            if (!config.open()) {
                log("plugin: no configuration");
            }
            settings_ = readSettings(config);
            readItems(config, settings_);
        }
        if (!settings_.echo.empty()) {
            log(settings_.echo);
        }
        for (const auto& date : settings_.dates) {
            std::string text = date;
            log("plugin: Date2Int \"" + date + "\" -> " + std::to_string(Date2Int(text.data())));
        }
        if (!settings_.outputFile.empty()) {
            std::string path = settings_.outputFile;
            file_ =
                oapiOpenFile(path.c_str(), static_cast<FileAccessMode>(settings_.outputMode), ROOT);
            log("plugin: oapiOpenFile " + path + " -> " + (file_ != nullptr ? "handle" : "null"));
        }
        if (settings_.annotation) {
            note_ = oapiCreateAnnotation(true, 1.0, VECTOR3{{0.8, 0.8, 0.1}});
            oapiAnnotationSetPos(note_, 0.3, 0.4, 0.7, 0.6);
        }
        log(std::string("plugin: oapiDelAnnotation(null) -> ") +
            (oapiDelAnnotation(nullptr) ? "true" : "false"));
        if (settings_.badHandles) {
            int foreign = 0;
            char text[] = "never written";
            oapiWriteLine(&foreign, text);
            oapiCloseFile(&foreign, FILE_OUT);
            oapiAnnotationSetText(&foreign, text);
            log(std::string("plugin: foreign vessel interface -> ") +
                (oapiGetVesselInterface(&foreign) == nullptr ? "null" : "handle"));
            VESSEL stranger(&foreign);
            log("plugin: foreign VESSEL::GetLift -> " + number(stranger.GetLift()));

            // Handles of objects already ended, with a new object opened since.
            FILEHANDLE closed = oapiOpenFile("first.txt", FILE_OUT, ROOT);
            oapiCloseFile(closed, FILE_OUT);
            FILEHANDLE second = oapiOpenFile("second.txt", FILE_OUT, ROOT);
            char stale[] = "through a closed handle";
            oapiWriteLine(closed, stale);
            oapiCloseFile(second, FILE_OUT);
            NOTEHANDLE deleted = oapiCreateAnnotation(true, 1.0, VECTOR3{{1.0, 1.0, 1.0}});
            oapiDelAnnotation(deleted);
            NOTEHANDLE fresh = oapiCreateAnnotation(true, 1.0, VECTOR3{{1.0, 1.0, 1.0}});
            oapiAnnotationSetText(deleted, stale);
            oapiDelAnnotation(fresh);
        }
        maybeThrow("clbkSimulationStart", 0);
    }

    void clbkPreStep(double simt, double simdt, double mjd) override {
        ++frame_;
        if (!settings_.quiet) {
            log("plugin: clbkPreStep " + number(simt) + " " + number(simdt) + " " + number(mjd));
        }
        if (frame_ == settings_.completeAtFrame) {
            log(std::string(aeroquin::contract::kCompletedStatus));
        }
        if (settings_.clock) {
            SYSTEMTIME t{};
            GetSystemTime(&t);
            log("plugin: GetSystemTime " + std::to_string(t.wYear) + " " +
                std::to_string(t.wMonth) + " " + std::to_string(t.wDayOfWeek) + " " +
                std::to_string(t.wDay) + " " + std::to_string(t.wHour) + " " +
                std::to_string(t.wMinute) + " " + std::to_string(t.wSecond) + " " +
                std::to_string(t.wMilliseconds));
        }
        if (note_ != nullptr) {
            std::string text = "note " + std::to_string(frame_);
            oapiAnnotationSetText(note_, text.data());
        }
        if (!settings_.vessel.empty()) {
            vesselOperations();
        }
        if (frame_ == settings_.raiseAtFrame) {
            const int signal = settings_.raiseSignal == "KILL"   ? SIGKILL
                               : settings_.raiseSignal == "TERM" ? SIGTERM
                                                                 : SIGINT;
            std::raise(signal);
        }
        maybeThrow("clbkPreStep", frame_);
    }

    void clbkPostStep(double simt, double simdt, double mjd) override {
        if (!settings_.quiet) {
            log("plugin: clbkPostStep " + number(simt) + " " + number(simdt) + " " + number(mjd));
        }
        if (file_ != nullptr) {
            std::string row = "row " + std::to_string(frame_);
            oapiWriteLine(file_, row.data());
            if (settings_.checkFlush) {
                // What another reader of the file sees right now.
                std::ifstream in(settings_.outputFile);
                std::string line;
                long lines = 0;
                while (std::getline(in, line)) {
                    ++lines;
                }
                log("plugin: the file holds " + std::to_string(lines) + " lines");
            }
        }
        if (frame_ == 1 && settings_.frameOneStatus != "-") {
            log(settings_.frameOneStatus);
        }
        maybeThrow("clbkPostStep", frame_);
    }

    void clbkSimulationEnd() override {
        log("plugin: clbkSimulationEnd");
        if (file_ != nullptr && !settings_.leakFile) {
            oapiCloseFile(file_, static_cast<FileAccessMode>(settings_.outputMode));
        }
        file_ = nullptr;
        if (note_ != nullptr) {
            log(std::string("plugin: oapiDelAnnotation -> ") +
                (oapiDelAnnotation(note_) ? "true" : "false"));
        }
        note_ = nullptr;
        maybeThrow("clbkSimulationEnd", 0);
    }

  private:
    void maybeThrow(const std::string& callback, long frame) {
        if (settings_.throwIn != callback || frame != settings_.throwAtFrame) {
            return;
        }
        settings_.throwIn.clear();  // once
        if (settings_.throwKind == "int") {
            throw 42;
        }
        throw std::runtime_error("boom in " + callback);
    }

    void vesselOperations() {
        std::string name = settings_.vessel;
        OBJHANDLE handle = oapiGetVesselByName(name.data());
        VESSEL* vessel = oapiGetVesselInterface(handle);
        if (vessel == nullptr) {
            log("plugin: no vessel " + name);
            return;
        }
        VESSELSTATUS2 status;
        std::memset(&status, 0xA5, sizeof status);
        status.version = settings_.statusExVersion;
        VESSELSTATUS2 before;
        std::memcpy(&before, &status, sizeof status);
        vessel->GetStatusEx(&status);
        const bool untouched = std::memcmp(&before, &status, sizeof status) == 0;
        const bool surfaceReference = status.rbody == vessel->GetSurfaceRef();
        log("plugin: GetStatusEx version " + std::to_string(settings_.statusExVersion) + " -> " +
            (untouched ? "untouched" : "filled") +
            (surfaceReference ? ", rbody is the surface reference" : ""));
        double longitude = 0.0;
        double latitude = 0.0;
        double radius = 0.0;
        vessel->GetEquPos(longitude, latitude, radius);
        const std::string className = vessel->GetClassNameA();
        const double lift = vessel->GetLift();
        log("plugin: class " + className + ", radius " + number(radius) + ", lift " + number(lift));
    }

    Settings settings_;
    long frame_ = 0;
    FILEHANDLE file_ = nullptr;
    NOTEHANDLE note_ = nullptr;
};

}  // namespace

DLLCLBK void InitModule(HINSTANCE instance) {
    log(std::string("plugin: InitModule, handle ") +
        (instance == attachedHandle ? "as attached" : "differs"));
    oapiRegisterModule(new TestModule(instance));
}

DLLCLBK const char* ModuleDate() {
    return "Feb 03 2021";
}

DLLCLBK int GetModuleVersion() {
    char date[] = "Feb 03 2021";
    return Date2Int(date);
}
