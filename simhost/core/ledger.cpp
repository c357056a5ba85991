#include "ledger.hpp"

#include <sstream>

namespace simhost {

bool Ledger::give(const std::string& kind, const void* handle) {
    auto it = held_.find(kind);
    if (it != held_.end()) {
        auto h = it->second.find(handle);
        if (h != it->second.end()) {
            it->second.erase(h);
            return true;
        }
    }
    std::ostringstream text;
    text << "released a " << kind << " that is not held (" << handle << ")";
    violations_.push_back(text.str());
    return false;
}

bool Ledger::holds(const std::string& kind, const void* handle) const {
    auto it = held_.find(kind);
    return it != held_.end() && it->second.count(handle) != 0;
}

bool Ledger::check(const std::string& kind, const void* handle, const std::string& operation) {
    if (holds(kind, handle))
        return true;
    std::ostringstream text;
    text << operation << ": " << (handle ? "stale or foreign " : "null ") << kind << " (" << handle << ")";
    violations_.push_back(text.str());
    return false;
}

std::size_t Ledger::outstanding(const std::string& kind) const {
    auto it = held_.find(kind);
    return it == held_.end() ? 0 : it->second.size();
}

std::map<std::string, std::size_t> Ledger::outstanding() const {
    std::map<std::string, std::size_t> result;
    for (const auto& [kind, handles] : held_)
        if (!handles.empty())
            result[kind] = handles.size();
    return result;
}

std::size_t Ledger::taken(const std::string& kind) const {
    auto it = taken_.find(kind);
    return it == taken_.end() ? 0 : it->second;
}

void Ledger::clear() {
    held_.clear();
    taken_.clear();
    violations_.clear();
}

}  // namespace simhost
