// The grace timer after a stop signal runs only while a frame does. alarm(0) answers the
// seconds left of a timer that was set, and clears it.
#include "host/process/LastWords.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

namespace aeroquin::host::test {
namespace {

TEST(LastWords, TheStopGraceTimerRunsOnlyWithinFrames) {
    {
        const LastWords lastWords(-1);
        LastWords::setFrame(1, false);
        LastWords::stopRequested(SIGINT);
        EXPECT_EQ(::alarm(0), 0u) << "armed between frames, as at the simulation's end";
        LastWords::setFrame(2, true);
        EXPECT_NE(::alarm(0), 0u) << "not armed in a frame after the stop";
        LastWords::setFrame(2, true);
        LastWords::setFrame(2, false);
        EXPECT_EQ(::alarm(0), 0u) << "still armed after the frame";
    }
    const LastWords lastWords(-1);
    LastWords::setFrame(3, true);
    LastWords::stopRequested(SIGTERM);
    EXPECT_NE(::alarm(0), 0u) << "not armed by a stop within a frame";
    LastWords::setFrame(3, false);
}

}  // namespace
}  // namespace aeroquin::host::test
