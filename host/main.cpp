// aeroquin-host: the headless host that loads a plug-in module and runs it frame by frame.
#include <cstdio>
#include <exception>

#include "host/CommandLine.h"
#include "host/ExitCode.h"
#include "host/HostRun.h"

int main(int argc, char** argv) {
    using namespace aeroquin::host;
    try {
        const CommandLine commandLine = parseCommandLine(argc, argv);
        if (!commandLine.options) {
            return commandLine.exitStatus;
        }
        return toInt(runHost(*commandLine.options));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "aeroquin-host: internal error: %s\n", e.what());
        return toInt(ExitCode::moduleException);
    }
}
