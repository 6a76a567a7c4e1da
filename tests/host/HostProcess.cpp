#include "tests/host/HostProcess.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace aeroquin::host::test {

namespace {

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            // 0 at the end of a file; EIO once the terminal's other side is closed.
            return text;
        }
    }
}

struct TempFile {
    TempFile() : file(std::tmpfile()) {
        if (file == nullptr) {
            throw std::runtime_error("no temporary file");
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { std::fclose(file); }
    std::string contents() const {
        ::lseek(fileno(file), 0, SEEK_SET);
        return readAll(fileno(file));
    }
    std::FILE* file;
};

}  // namespace

HostOutcome runProcess(const std::filesystem::path& executable,
                       const std::vector<std::string>& args, const std::filesystem::path& workDir,
                       bool onTerminal) {
    std::vector<std::string> argvText{executable.string()};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argvText) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    const TempFile out;
    const TempFile err;
    int terminal = -1;
    int terminalSlave = -1;
    if (onTerminal) {
        winsize size{};
        size.ws_col = 200;
        size.ws_row = 24;
        if (::openpty(&terminal, &terminalSlave, nullptr, nullptr, &size) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        const int nothing = ::open("/dev/null", O_RDONLY);
        ::dup2(nothing, STDIN_FILENO);
        ::dup2(onTerminal ? terminalSlave : fileno(out.file), STDOUT_FILENO);
        ::dup2(fileno(err.file), STDERR_FILENO);
        if (onTerminal) {
            ::close(terminal);
            ::close(terminalSlave);
        }
        if (::chdir(workDir.c_str()) != 0) {
            ::_exit(125);
        }
        ::execv(argv[0], argv.data());
        ::_exit(126);
    }
    HostOutcome outcome;
    if (onTerminal) {
        ::close(terminalSlave);
        outcome.out = readAll(terminal);
        ::close(terminal);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        outcome.exited = true;
        outcome.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    }
    if (!onTerminal) {
        outcome.out = out.contents();
    }
    outcome.err = err.contents();
    return outcome;
}

}  // namespace aeroquin::host::test
