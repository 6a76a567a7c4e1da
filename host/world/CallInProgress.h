// The user's code running right now, for the one line a run that dies in it leaves behind: a
// signal handler reads it, so it is a plain global of static texts.
#pragma once

namespace aeroquin::host {

// "the coefficient function F of L, airfoil A" while one runs, else null. Written only on the
// simulation thread; the texts live as long as their airfoils.
inline const char* volatile callInProgress = nullptr;

// Names the call for as long as it lives.
class CallScope {
  public:
    explicit CallScope(const char* description) : previous_(callInProgress) {
        callInProgress = description;
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
    CallScope(CallScope&&) = delete;
    CallScope& operator=(CallScope&&) = delete;
    ~CallScope() { callInProgress = previous_; }

  private:
    const char* previous_;
};

}  // namespace aeroquin::host
