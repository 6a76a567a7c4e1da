// Opaque handles for objects that the host owns on the module's behalf (files, annotations).
//
// A handle is an id that is never handed out twice, not the object's address: a handle kept
// past its object's end is told apart from a live one (a new object never takes its place) and
// from a value the table never gave out. Each table has its own range of values, so that a
// file's handle is foreign to the annotations and the other way round.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace aeroquin::host {

template <typename T>
class HandleTable {
  public:
    enum class State { live, null, ended, foreign };
    struct Lookup {
        T* object = nullptr;  // set when live
        State state = State::null;
    };

    // `base`: the first handle value of this table; values step by 16 from there.
    explicit HandleTable(std::uintptr_t base) : base_(base) {}

    void* add(std::unique_ptr<T> object) {
        const std::uintptr_t id = next_++;
        live_.emplace(id, std::move(object));
        return handleOf(id);
    }

    // The handle of the object with id `id` (a key of live()).
    [[nodiscard]] void* handleOf(std::uintptr_t id) const {
        return reinterpret_cast<void*>(base_ + id * stride);  // NOLINT: an id, never followed
    }

    [[nodiscard]] Lookup find(const void* handle) const {
        if (handle == nullptr) {
            return {};
        }
        const auto value = reinterpret_cast<std::uintptr_t>(handle);  // NOLINT: compared only
        if (value <= base_ || (value - base_) % stride != 0 || (value - base_) / stride >= next_) {
            return {nullptr, State::foreign};
        }
        const auto it = live_.find((value - base_) / stride);
        return it == live_.end() ? Lookup{nullptr, State::ended}
                                 : Lookup{it->second.get(), State::live};
    }

    // Ends a live object's handle and hands the object back; null when the handle is not live.
    std::unique_ptr<T> take(const void* handle) {
        const Lookup found = find(handle);
        if (found.state != State::live) {
            return nullptr;
        }
        const auto id = (reinterpret_cast<std::uintptr_t>(handle) - base_) / stride;  // NOLINT
        auto node = live_.extract(id);
        return std::move(node.mapped());
    }

    // The live objects by id, in the order they were added.
    [[nodiscard]] const std::map<std::uintptr_t, std::unique_ptr<T>>& live() const { return live_; }
    // Ends every live handle.
    void clear() { live_.clear(); }

  private:
    static constexpr std::uintptr_t stride = 16;

    std::uintptr_t base_;
    std::uintptr_t next_ = 1;
    std::map<std::uintptr_t, std::unique_ptr<T>> live_;
};

}  // namespace aeroquin::host
