#include "host/support/ExceptionText.h"

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <typeinfo>

namespace aeroquin::host {

namespace {

std::string demangle(const char* name) {
    if (name == nullptr) {
        return "an exception of unknown type";
    }
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> readable(
        abi::__cxa_demangle(name, nullptr, nullptr, &status), &std::free);
    return status == 0 && readable ? std::string(readable.get()) : std::string(name);
}

}  // namespace

std::string describeCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        return demangle(typeid(e).name()) + ": " + e.what();
    } catch (...) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        return demangle(type == nullptr ? nullptr : type->name());
    }
}

}  // namespace aeroquin::host
