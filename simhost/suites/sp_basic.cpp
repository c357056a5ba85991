#include <cstring>
#include <string>

#include "core/host.hpp"
#include "suites.hpp"

namespace simhost {

namespace {

ASErr HOSTAPI AcquireSuite(const char* name, int32_t version, const void** suite) {
    Host& host = Host::current();
    if (ASErr fault = host.enter("SPBasicSuite.AcquireSuite",
                                 std::string(name ? name : "(null)") + ", " + std::to_string(version)))
        return fault;
    return host.suites().acquire(name, version, suite);
}

ASErr HOSTAPI ReleaseSuite(const char* name, int32_t version) {
    Host& host = Host::current();
    if (ASErr fault = host.enter("SPBasicSuite.ReleaseSuite",
                                 std::string(name ? name : "(null)") + ", " + std::to_string(version)))
        return fault;
    return host.suites().release(name, version);
}

ASBoolean HOSTAPI IsEqual(const char* token1, const char* token2) {
    Host::current().enter("SPBasicSuite.IsEqual",
                          std::string(token1 ? token1 : "(null)") + ", " + (token2 ? token2 : "(null)"));
    if (token1 == nullptr || token2 == nullptr)
        return kASFalse;
    return std::strcmp(token1, token2) == 0 ? kASTrue : kASFalse;
}

const SPBasicSuite kBasicSuite = {AcquireSuite, ReleaseSuite, IsEqual};

}  // namespace

const SPBasicSuite* basicSuite() {
    return &kBasicSuite;
}

}  // namespace simhost
