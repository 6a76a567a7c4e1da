// A vessel's state, loads or air that stopped being finite numbers: the simulated flight cannot
// go on. The message names the vessel, the quantity and, where it is known, the cause: the
// coefficients a function returned, the class file's value.
#pragma once

#include <stdexcept>

namespace aeroquin::host {

class NonFiniteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace aeroquin::host
