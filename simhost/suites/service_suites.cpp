#include "core/suite_registry.hpp"
#include "suites.hpp"

namespace simhost {

void registerServiceSuites(SuiteRegistry&) {}

}  // namespace simhost
