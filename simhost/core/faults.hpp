#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/types.h"

namespace simhost {

// Fault injection: makes a suite unavailable, or makes one operation fail with a chosen code on its n-th
// call (counted from when the fault was set). Operations are named as in the journal ("Suite.Operation").
class FaultInjector {
  public:
    void makeUnavailable(std::string suiteName, int32_t version, ASErr code = kSPSuiteNotFoundError);
    // nth counts from 1; with `every` set the operation keeps failing from the n-th call on.
    void failCall(std::string operation, int nth, ASErr code, bool every = false);
    void clear();

    // The code an acquisition of this suite must fail with, if any.
    std::optional<ASErr> unavailable(std::string_view suiteName, int32_t version) const;
    // Counts the call and returns the code it must fail with, if any.
    std::optional<ASErr> onCall(std::string_view operation);

  private:
    struct CallFault {
        std::string operation;
        int nth;
        ASErr code;
        bool every;
        int calls = 0;
    };
    struct Unavailable {
        std::string name;
        int32_t version;
        ASErr code;
    };
    std::vector<Unavailable> unavailable_;
    std::vector<CallFault> calls_;
};

}  // namespace simhost
