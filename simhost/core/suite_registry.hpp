#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "hostapi/types.h"

namespace simhost {

class FaultInjector;
class Ledger;

// The suites the host provides, by name and version. Acquisitions and releases are counted in the
// ledger under the kind "suite"; fault injection can make any suite unavailable.
class SuiteRegistry {
  public:
    SuiteRegistry(FaultInjector& faults, Ledger& ledger) : faults_(faults), ledger_(ledger) {}

    void add(std::string name, int32_t version, const void* table);
    bool provides(std::string_view name, int32_t version) const;
    std::size_t size() const { return suites_.size(); }

    ASErr acquire(const char* name, int32_t version, const void** suite);
    ASErr release(const char* name, int32_t version);

    // The ledger handle that stands for one held reference to a suite.
    const void* ledgerKey(std::string_view name, int32_t version) const;

  private:
    std::map<std::pair<std::string, int32_t>, const void*, std::less<>> suites_;
    FaultInjector& faults_;
    Ledger& ledger_;
};

}  // namespace simhost
