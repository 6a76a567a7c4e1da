#include "tests/e2e/HostProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;  // NOLINT: POSIX declares it nowhere else

namespace e2e {

namespace fs = std::filesystem;

TempRoot::TempRoot(const std::string& example) {
    std::string pattern = (fs::temp_directory_path() / "aeroquin-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
    fs::copy(fs::path(AEROQUIN_EXAMPLES_DIR) / example, path_, fs::copy_options::recursive);
}

TempRoot::~TempRoot() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempRoot::write(const std::string& relative, const std::string& text) const {
    fs::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << text;
}

void TempRoot::remove(const std::string& relative) const {
    fs::remove_all(path_ / relative);
}

std::string TempRoot::read(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> TempRoot::lines(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        result.push_back(line);
    }
    return result;
}

std::vector<std::string> TempRoot::files(const std::string& relative) const {
    std::vector<std::string> names;
    if (fs::is_directory(path_ / relative)) {
        for (const auto& entry : fs::directory_iterator(path_ / relative)) {
            if (entry.path().filename() != ".gitkeep") {
                names.push_back(entry.path().filename().string());
            }
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

void TempRoot::configure(const std::string& vessel, const std::string& saveDirectory, int style,
                         const std::string& aoaIntervals, const std::string& aoaIncrements,
                         const std::string& machIntervals,
                         const std::string& machIncrements) const {
    write("Config/Modules/Plugin/Aeroquin.cfg",
          "VesselName = " + vessel + "\nSaveDirectory = " + saveDirectory +
              "\nReportNameStyle = " + std::to_string(style) + "\nAoaIntervals = " + aoaIntervals +
              "\nAoaIncrements = " + aoaIncrements + "\nMachIntervals = " + machIntervals +
              "\nMachIncrements = " + machIncrements + "\n");
}

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
