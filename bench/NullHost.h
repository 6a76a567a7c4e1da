// A definition of the host interface for in-process benchmarks: every query gets a constant
// answer, written lines, log lines and annotation texts are discarded (only counted), and no
// call does any I/O but the report's header, which the module checks on disk
// (/tmp/aeroquin-bench).
//
// Item files: the one configuration the module reads asks for a sweep far longer than any
// benchmark runs (1,000 Mach numbers x 1,000,001 angles of attack, 8 MB of lists), so a capture
// never completes while it is timed.
#pragma once

#include <cstdint>

namespace aeroquin::bench {

// Lines handed to oapiWriteLine so far, header lines included.
[[nodiscard]] std::uint64_t linesWritten();

}  // namespace aeroquin::bench
