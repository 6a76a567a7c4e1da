// The shape that most of the simulator's functions share in this host: the run's context, or
// outside a run a neutral answer (null, false, 0) and nothing done; the work; one trace line.
#pragma once

#include <string_view>
#include <type_traits>

#include "host/interface/HostContext.h"
#include "host/interface/Trace.h"

namespace aeroquin::host {

// Runs `work(HostContext&)` in the active run. A function without an answer (Result void) is
// traced as `name args...` before it acts; one with an answer after it, as
// `name args... -> answer`.
template <typename Result = void, typename Work, typename... Args>
Result hostCall(std::string_view name, Work work, const Args&... args) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return Result();
    }
    if constexpr (std::is_void_v<Result>) {
        if (host->trace().on()) {
            host->trace().line(name, args...);
        }
        work(*host);
    } else {
        const Result result = work(*host);
        if (host->trace().on()) {
            host->trace().line(name, args..., TraceResult{}, result);
        }
        return result;
    }
}

}  // namespace aeroquin::host
