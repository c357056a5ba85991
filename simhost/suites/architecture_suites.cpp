// The suites of the plug-in architecture itself: memory blocks and plug-in access.
#include <new>
#include <sstream>
#include <string>

#include "core/host.hpp"
#include "core/suite_registry.hpp"
#include "suites.hpp"

namespace simhost {

namespace {

constexpr const char* kBlockKind = "block";

std::string describe(const void* pointer) {
    std::ostringstream text;
    text << pointer;
    return text.str();
}

ASErr HOSTAPI AllocateBlock(size_t size, const char* debugLabel, void** block) {
    Host& host = Host::current();
    std::string label = debugLabel ? debugLabel : "(null)";
    if (ASErr fault = host.enter("SPBlocksSuite.AllocateBlock", std::to_string(size) + ", " + label))
        return fault;
    if (block == nullptr) {
        host.ledger().violation("SPBlocksSuite.AllocateBlock: null address for the block");
        return kBadParameterErr;
    }
    try {
        *block = host.memory().allocateBlock(size);
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    }
    host.ledger().take(kBlockKind, *block);
    return kNoErr;
}

ASErr HOSTAPI FreeBlock(void* block) {
    Host& host = Host::current();
    if (ASErr fault = host.enter("SPBlocksSuite.FreeBlock", describe(block)))
        return fault;
    if (!host.ledger().check(kBlockKind, block, "SPBlocksSuite.FreeBlock") || !host.memory().isBlock(block))
        return kBadParameterErr;
    host.memory().freeBlock(block);
    host.ledger().give(kBlockKind, block);
    return kNoErr;
}

constexpr SPBlocksSuite kBlocksSuite = {AllocateBlock, FreeBlock};

// The plug-in acquires it with the others and calls nothing in it.
constexpr SPAccessSuite kAccessSuite = {nullptr};

}  // namespace

void registerArchitectureSuites(SuiteRegistry& registry) {
    registry.add(kSPBlocksSuite, kSPBlocksSuiteVersion, &kBlocksSuite);
    registry.add(kSPAccessSuite, kSPAccessSuiteVersion, &kAccessSuite);
}

}  // namespace simhost
