// The module's log lines that the host watches to judge a run: its exit status and its progress.
// Spelled here once, for the host and its test plug-ins; a contract test runs the module's own
// code through the host's watcher, so that the two cannot drift apart unnoticed.
#pragma once

#include <string_view>

namespace aeroquin::host {

// The status text of a capture that started.
inline constexpr std::string_view kStartedStatus = "Aeroquin - Manager initialized ok";
// The status text of a capture that measured its last point.
inline constexpr std::string_view kCompletedStatus = "Capture completed";
// The first words of a final status that is not completion: points or report lines missing
// ("Capture ended: ..."), or the vessel gone ("Capture stopped: ...").
inline constexpr std::string_view kEndedStatusPrefix = "Capture ended: ";
inline constexpr std::string_view kStoppedStatusPrefix = "Capture stopped: ";
// The sweep's description: "Sweeper: Mach vector size: P, AOA vector size: Q, ...".
inline constexpr std::string_view kSweepMachLabel = "Sweeper: Mach vector size: ";
inline constexpr std::string_view kSweepAoaLabel = ", AOA vector size: ";

}  // namespace aeroquin::host
