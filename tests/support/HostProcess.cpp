#include "tests/support/HostProcess.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <stdexcept>

namespace aeroquin::testsupport {

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

std::string contents(std::FILE* file) {
    ::lseek(fileno(file), 0, SEEK_SET);
    return readAll(fileno(file));
}

}  // namespace

HostProcess::HostProcess(const std::filesystem::path& executable,
                         const std::vector<std::string>& args, const std::filesystem::path& workDir,
                         bool onTerminal)
    : out_(std::tmpfile()), err_(std::tmpfile()) {
    if (out_ == nullptr || err_ == nullptr) {
        throw std::runtime_error("no temporary file");
    }
    std::vector<std::string> argvText{executable.string()};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argvText) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    int terminalSlave = -1;
    if (onTerminal) {
        winsize size{};
        size.ws_col = 200;
        size.ws_row = 24;
        if (::openpty(&terminal_, &terminalSlave, nullptr, nullptr, &size) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
    }
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        const int nothing = ::open("/dev/null", O_RDONLY);
        ::dup2(nothing, STDIN_FILENO);
        ::dup2(onTerminal ? terminalSlave : fileno(out_), STDOUT_FILENO);
        ::dup2(fileno(err_), STDERR_FILENO);
        if (onTerminal) {
            ::close(terminal_);
            ::close(terminalSlave);
        }
        if (::chdir(workDir.c_str()) != 0) {
            ::_exit(125);
        }
        ::execv(argv[0], argv.data());
        ::_exit(126);
    }
    if (onTerminal) {
        ::close(terminalSlave);
    }
}

HostProcess::~HostProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (terminal_ >= 0) {
        ::close(terminal_);
    }
    std::fclose(out_);
    std::fclose(err_);
}

void HostProcess::signal(int number) const {
    ::kill(pid_, number);
}

HostResult HostProcess::wait() {
    HostResult result;
    if (terminal_ >= 0) {
        result.out = readAll(terminal_);
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    if (terminal_ < 0) {
        result.out = contents(out_);
    }
    result.err = contents(err_);
    return result;
}

std::vector<std::string> hostArgs(const HostUnderTest& host, const TempRoot& root,
                                  std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", root.path().string(), "--module", host.module.string()});
    return args;
}

HostResult runHost(const HostUnderTest& host, const TempRoot& root,
                   const std::vector<std::string>& args, bool onTerminal) {
    return runProcess(host.executable, hostArgs(host, root, args), root.path(), onTerminal);
}

}  // namespace aeroquin::testsupport
