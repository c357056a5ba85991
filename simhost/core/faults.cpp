#include "faults.hpp"

namespace simhost {

void FaultInjector::makeUnavailable(std::string suiteName, int32_t version, ASErr code) {
    unavailable_.push_back({std::move(suiteName), version, code});
}

void FaultInjector::failCall(std::string operation, int nth, ASErr code, bool every) {
    calls_.push_back({std::move(operation), nth, code, every});
}

void FaultInjector::clear() {
    unavailable_.clear();
    calls_.clear();
}

std::optional<ASErr> FaultInjector::unavailable(std::string_view suiteName, int32_t version) const {
    for (const auto& u : unavailable_)
        if (u.name == suiteName && u.version == version)
            return u.code;
    return std::nullopt;
}

std::optional<ASErr> FaultInjector::onCall(std::string_view operation) {
    std::optional<ASErr> result;
    for (auto& f : calls_) {
        if (f.operation != operation)
            continue;
        ++f.calls;
        if (f.calls == f.nth || (f.every && f.calls > f.nth))
            result = f.code;
    }
    return result;
}

}  // namespace simhost
