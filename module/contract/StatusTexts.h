// The lines the module writes to the simulator's log that its readers rely on: the host judges a
// run by them (host/process/StatusWatch.h), and users and their scripts match them.
#pragma once

#include <array>
#include <string_view>

namespace aeroquin::contract {

inline constexpr std::string_view kManagerCreated = "Aeroquin - Manager created";
inline constexpr std::string_view kManagerDestroyed = "Aeroquin - Manager destroyed";
// The status text of a capture that started.
inline constexpr std::string_view kStartedStatus = "Aeroquin - Manager initialized ok";
// The status text of a capture that measured its last point, in that point's frame.
inline constexpr std::string_view kCompletedStatus = "Capture completed";
// The first words of a final status that is not completion: points or report lines missing
// ("Capture ended: ..."), the vessel gone or the simulation ended first ("Capture stopped: ...").
inline constexpr std::string_view kEndedPrefix = "Capture ended: ";
inline constexpr std::string_view kStoppedPrefix = "Capture stopped: ";
// Logged after the row of a point at which a surface not swept or a thruster had moved since the
// first step: what moved, as "Rudder 0.7 (held 0); thruster 2 1 (held 0)".
inline constexpr std::string_view kMovedPrefix = "Moved since the first step: ";
// The sweep's description: "Sweeper: Mach vector size: P, AOA vector size: Q, ..."; with a
// sideslip axis "..., AOA vector size: Q, Sideslip vector size: S, ...", and with a control axis
// then ", Control vector size: C".
inline constexpr std::string_view kSweepMachLabel = "Sweeper: Mach vector size: ";
inline constexpr std::string_view kSweepAoaLabel = ", AOA vector size: ";
inline constexpr std::string_view kSweepSideslipLabel = ", Sideslip vector size: ";
inline constexpr std::string_view kSweepControlLabel = ", Control vector size: ";
// With a rate axis then ", Rate vector size: R": its values once about each of the three axes.
inline constexpr std::string_view kSweepRateLabel = ", Rate vector size: ";
// The optional axes' sizes in the order the description gives them.
inline constexpr std::array<std::string_view, 3> kSweepOptionalLabels{
    kSweepSideslipLabel, kSweepControlLabel, kSweepRateLabel};

}  // namespace aeroquin::contract
