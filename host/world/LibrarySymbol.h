// Symbols of a library loaded with dlopen.
#pragma once

namespace aeroquin::host {

// The definition of `name` in the library of loader handle `library` itself (not in one of its
// dependencies); null when none, or when `library` is null.
void* librarySymbol(void* library, const char* name);

}  // namespace aeroquin::host
