// Symbols of a library loaded with dlopen.
#pragma once

namespace aeroquin::host {

// The definition of `name` in the library of loader handle `library` itself (not in one of its
// dependencies); null when none, or when `library` is null.
void* librarySymbol(void* library, const char* name);

// Whether the symbol defined at `address` is code (ELF STT_FUNC or STT_GNU_IFUNC), not data. A
// C name carries no type, so this is the one check that `int f[4]` is not called.
bool isFunctionSymbol(void* address);

}  // namespace aeroquin::host
