#include "suite_registry.hpp"

#include "faults.hpp"
#include "ledger.hpp"

namespace simhost {

void SuiteRegistry::add(std::string name, int32_t version, const void* table) {
    suites_[{std::move(name), version}] = table;
}

bool SuiteRegistry::provides(std::string_view name, int32_t version) const {
    return ledgerKey(name, version) != nullptr;
}

const void* SuiteRegistry::ledgerKey(std::string_view name, int32_t version) const {
    for (const auto& [key, table] : suites_)
        if (key.first == name && key.second == version)
            return table;
    return nullptr;
}

ASErr SuiteRegistry::acquire(const char* name, int32_t version, const void** suite) {
    if (name == nullptr || suite == nullptr)
        return kBadParameterErr;
    if (auto code = faults_.unavailable(name, version))
        return *code;
    const void* table = ledgerKey(name, version);
    if (table == nullptr)
        return kSPSuiteNotFoundError;
    *suite = table;
    ledger_.take("suite", table);
    return kNoErr;
}

ASErr SuiteRegistry::release(const char* name, int32_t version) {
    if (name == nullptr)
        return kBadParameterErr;
    const void* table = ledgerKey(name, version);
    if (table == nullptr)
        return kSPSuiteNotFoundError;
    if (!ledger_.holds("suite", table)) {
        ledger_.violation(std::string("released suite \"") + name + "\" that is not held");
        return kBadParameterErr;
    }
    ledger_.give("suite", table);
    return kNoErr;
}

}  // namespace simhost
