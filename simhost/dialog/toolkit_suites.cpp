#include "core/suite_registry.hpp"
#include "suites/suites.hpp"

namespace simhost {

void registerToolkitSuites(SuiteRegistry&) {}

}  // namespace simhost
