#include "core/suite_registry.hpp"
#include "suites.hpp"

namespace simhost {

void registerArchitectureSuites(SuiteRegistry&) {}

}  // namespace simhost
