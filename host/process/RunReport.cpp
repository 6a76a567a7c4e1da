#include "host/process/RunReport.h"

#include <array>
#include <cstdio>

namespace aeroquin::host {

void reportFailure(HostContext* host, const std::string& message) {
    if (host != nullptr) {
        host->log().host(message);
    }
    std::fprintf(stderr, "aeroquin-host: %s\n", message.c_str());
}

void summariseRun(HostContext& host, const StatusWatch& status, ExitCode code, std::uint64_t frames,
                  double elapsedS) {
    host.files().closeAll();
    host.annotations().releaseAll();

    const std::uint64_t points = status.pointsMeasured(frames);
    const double rate = elapsedS > 0.0 ? static_cast<double>(points) / elapsedS : 0.0;
    const std::size_t files = host.files().filesWritten();
    std::array<char, 200> summary{};
    std::snprintf(summary.data(), summary.size(), "%llu %s, %llu %s, %.6g points/s, %zu %s written",
                  static_cast<unsigned long long>(frames), frames == 1 ? "frame" : "frames",
                  static_cast<unsigned long long>(points), points == 1 ? "point" : "points", rate,
                  files, files == 1 ? "file" : "files");
    std::string lost;
    const std::uint64_t reportLines = host.files().linesLost();
    const std::uint64_t logLines = host.log().linesLost();
    if (reportLines > 0 || logLines > 0) {
        lost = std::to_string(reportLines) +
               (reportLines == 1 ? " report line and " : " report lines and ") +
               std::to_string(logLines) + (logLines == 1 ? " log line lost" : " log lines lost");
    }
    const std::string ended = std::string(summary.data()) + (lost.empty() ? "" : "; " + lost);
    std::printf("aeroquin-host: %s\n", ended.c_str());
    std::fflush(stdout);
    host.log().host("run ended: " + ended + "; exit status " + std::to_string(toInt(code)));

    switch (code) {
        case ExitCode::captureFailed:
            std::fprintf(stderr, "aeroquin-host: the capture could not start: %s\n",
                         status.frameOneStatus().c_str());
            break;
        case ExitCode::frameLimit:
            std::fprintf(stderr, "aeroquin-host: stopped after %llu frames (--frames)\n",
                         static_cast<unsigned long long>(frames));
            break;
        case ExitCode::interrupted:
            std::fprintf(stderr, "aeroquin-host: stopped by a signal after %llu frames\n",
                         static_cast<unsigned long long>(frames));
            break;
        case ExitCode::linesLost:
            std::fprintf(stderr, "aeroquin-host: the capture completed, but incompletely: %s\n",
                         lost.c_str());
            break;
        case ExitCode::incomplete:
            std::fprintf(stderr, "aeroquin-host: the capture did not complete: %s\n",
                         status.endText().c_str());
            break;
        case ExitCode::moduleException:
        case ExitCode::notFinite:
            std::fprintf(stderr, "aeroquin-host: see %s\n", host.log().path().c_str());
            break;
        default:
            break;
    }
}

}  // namespace aeroquin::host
