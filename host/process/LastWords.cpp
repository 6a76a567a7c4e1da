#include "host/process/LastWords.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "host/process/ExitCode.h"
#include "host/world/CallInProgress.h"

namespace aeroquin::host {

namespace {

// Read by signal handlers and the exit hook, hence globals.
volatile std::sig_atomic_t logFd = -1;
std::atomic<std::uint64_t> frame{0};
std::atomic<bool> inFrame{false};
std::atomic<bool> installed{false};
volatile std::sig_atomic_t stopSignal = 0;

constexpr std::array<int, 5> fatalSignals{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
std::array<struct sigaction, fatalSignals.size()> previousFatal{};
struct sigaction previousAlarm {};

const char* signalName(int signal) {
    switch (signal) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGBUS:
            return "SIGBUS";
        case SIGFPE:
            return "SIGFPE";
        case SIGILL:
            return "SIGILL";
        case SIGABRT:
            return "SIGABRT";
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        default:
            return "a signal";
    }
}

// A line assembled without allocation, for async-signal-safe writes.
class Line {
  public:
    Line& operator<<(const char* text) {
        while (text != nullptr && *text != '\0' && size_ < buffer_.size() - 1) {
            buffer_[size_++] = *text++;
        }
        return *this;
    }
    Line& operator<<(std::uint64_t number) {
        std::array<char, 24> digits{};
        std::size_t n = 0;
        do {
            digits[n++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        while (n > 0 && size_ < buffer_.size() - 1) {
            buffer_[size_++] = digits[--n];
        }
        return *this;
    }
    void writeTo(int fd) const {
        if (fd >= 0) {
            static_cast<void>(::write(fd, buffer_.data(), size_));
            static_cast<void>(::write(fd, "\n", 1));
        }
    }

  private:
    std::array<char, 512> buffer_{};
    std::size_t size_ = 0;
};

// "<event> in frame N[, in <the call>]", to the log as a host: line and to stderr.
void say(const char* event) {
    const std::uint64_t current = frame.load();
    Line logLine;
    logLine << "host: " << event;
    Line errLine;
    errLine << "aeroquin-host: " << event;
    for (Line* line : {&logLine, &errLine}) {
        if (current == 0) {
            *line << " before the first frame";
        } else {
            *line << " in frame " << current;
        }
        if (const char* call = callInProgress) {
            *line << ", in " << call;
        }
    }
    logLine.writeTo(logFd);
    errLine.writeTo(STDERR_FILENO);
}

void onFatal(int signal) {
    say(signalName(signal));
    // Ended by the signal itself, as without this handler.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void onGraceOver(int /*signal*/) {
    // The texts are static (a handler may not format): they spell the grace period out.
    static_assert(LastWords::kStopGraceS == 2, "the texts below name the grace period");
    say(stopSignal == SIGINT ? "no end within 2 s of SIGINT" : "no end within 2 s of SIGTERM");
    ::_exit(toInt(ExitCode::interrupted));
}

void onExit() {
    if (installed.load() && inFrame.load()) {
        say("exit() called");
        ::_exit(toInt(ExitCode::exitInFrame));
    }
}

}  // namespace

LastWords::LastWords(int fd) {
    logFd = fd;
    frame = 0;
    inFrame = false;
    stopSignal = 0;
    struct sigaction action {};
    action.sa_handler = onFatal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < fatalSignals.size(); ++i) {
        sigaction(fatalSignals[i], &action, &previousFatal[i]);
    }
    struct sigaction alarm {};
    alarm.sa_handler = onGraceOver;
    sigemptyset(&alarm.sa_mask);
    sigaction(SIGALRM, &alarm, &previousAlarm);
    // atexit cannot be undone: the hook stays registered and does nothing once uninstalled.
    static const bool registered = std::atexit(onExit) == 0;
    static_cast<void>(registered);
    installed = true;
}

LastWords::~LastWords() {
    installed = false;
    ::alarm(0);
    for (std::size_t i = 0; i < fatalSignals.size(); ++i) {
        sigaction(fatalSignals[i], &previousFatal[i], nullptr);
    }
    sigaction(SIGALRM, &previousAlarm, nullptr);
    logFd = -1;
}

void LastWords::setFrame(std::uint64_t current, bool during) {
    // Read by handlers on this very thread: no ordering against other threads is needed.
    frame.store(current, std::memory_order_relaxed);
    inFrame.store(during, std::memory_order_relaxed);
    // The grace period covers frames alone. A stop that comes between the store above and the
    // test below arms (or leaves) the timer itself; this sets it as it must be either way.
    if (installed.load() && stopSignal != 0) {
        ::alarm(during ? kStopGraceS : 0);
    }
}

void LastWords::stopRequested(int signal) {
    if (installed.load() && stopSignal == 0) {
        stopSignal = signal;
        // Outside a frame the run ends by itself, however slowly; a frame that starts later
        // arms the timer then.
        if (inFrame.load(std::memory_order_relaxed)) {
            ::alarm(kStopGraceS);
        }
    }
}

}  // namespace aeroquin::host
