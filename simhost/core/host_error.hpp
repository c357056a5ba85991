#pragma once

#include <stdexcept>
#include <string>

namespace simhost {

// A failure of the stand-in host itself or of what it was asked to do (an unreadable plug-in file, a
// script action that cannot be performed). Its message is a sentence fit to show the user as it is.
class HostError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace simhost
