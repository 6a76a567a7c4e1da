#include "tests/e2e/HostProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

extern char** environ;  // NOLINT: POSIX declares it nowhere else

namespace e2e {

HostProcess::HostProcess(const TempRoot& root, const std::vector<std::string>& args) : root_(root) {
    std::vector<std::string> argv{AEROQUIN_HOST, "--root", root.path().string(), "--module",
                                  AEROQUIN_MODULE};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string out = (root.path() / "stdout.txt").string();
    const std::string err = (root.path() / "stderr.txt").string();
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int failed =
        posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

HostProcess::~HostProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void HostProcess::signal(int number) const {
    kill(pid_, number);
}

HostResult HostProcess::wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    HostResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = root_.read("stdout.txt");
    result.err = root_.read("stderr.txt");
    return result;
}

HostResult runHost(const TempRoot& root, const std::vector<std::string>& args) {
    HostProcess process(root, args);
    return process.wait();
}

}  // namespace e2e
