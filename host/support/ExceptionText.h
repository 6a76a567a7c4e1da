// Naming an exception caught with catch (...), whatever its type.
#pragma once

#include <string>

namespace aeroquin::host {

// Within a handler: "<type>: <what()>" for a standard exception, "<type>" for any other type
// (demangled, e.g. "std::runtime_error: no fuel", "int").
std::string describeCurrentException();

}  // namespace aeroquin::host
