#include "core/suite_registry.hpp"
#include "suites/suites.hpp"

namespace simhost {

void registerDocumentSuites(SuiteRegistry&) {}

}  // namespace simhost
