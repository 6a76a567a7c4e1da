// aeroquin-host: the headless host that loads a plug-in module and runs it frame by frame.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "host/process/CommandLine.h"
#include "host/process/ExitCode.h"
#include "host/process/HostRun.h"
#include "host/support/ExceptionText.h"

int main(int argc, char** argv) {
    using namespace aeroquin::host;
    try {
        const CommandLine commandLine = parseCommandLine(argc, argv);
        if (!commandLine.options) {
            return commandLine.exitStatus;
        }
        const RunOutcome outcome = runHost(*commandLine.options);
        if (outcome.moduleAbandoned) {
            std::fflush(nullptr);
            std::_Exit(toInt(outcome.code));
        }
        return toInt(outcome.code);
    } catch (...) {
        std::fprintf(stderr, "aeroquin-host: internal error: %s\n",
                     describeCurrentException().c_str());
        return toInt(ExitCode::internalError);
    }
}
