// The floor of a capture's own work: the same report rows and log lines, written the same way
// (one write per line, each row through to the system at once), with nothing else around them.
// Usage: aeroquin-floor REPORT LOG OUTPUT_DIR. Reads the capture's report and log into memory,
// then writes every line of each, interleaved row by row as a capture writes them, to
// OUTPUT_DIR/report.csv and OUTPUT_DIR/host.log, and prints the CPU seconds (user + system) of
// the writing alone: bench/run-captures reads it.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const char* path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line + '\n');
    }
    return lines;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool writeAll(int fd, const std::string& text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n <= 0) {
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: aeroquin-floor REPORT LOG OUTPUT_DIR\n");
        return 2;
    }
    const std::vector<std::string> rows = linesOf(argv[1]);
    const std::vector<std::string> log = linesOf(argv[2]);
    const std::string dir = argv[3];
    const int reportFd = ::open((dir + "/report.csv").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int logFd = ::open((dir + "/host.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (reportFd < 0 || logFd < 0) {
        std::perror("aeroquin-floor");
        return 1;
    }
    // A capture writes one row and about one log line per frame.
    const std::size_t count = rows.size() > log.size() ? rows.size() : log.size();
    bool ok = true;
    const double start = cpuSeconds();
    for (std::size_t i = 0; i < count; ++i) {
        if (i < rows.size()) {
            ok = writeAll(reportFd, rows[i]) && ok;
        }
        if (i < log.size()) {
            ok = writeAll(logFd, log[i]) && ok;
        }
    }
    ::close(reportFd);
    ::close(logFd);
    std::printf("%.3f\n", cpuSeconds() - start);
    return ok ? 0 : 1;
}
