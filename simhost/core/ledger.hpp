#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace simhost {

// What the plug-in holds from the host right now: suites, blocks, parsers, dictionary references and
// other handles, by kind. A handle the ledger does not know is stale or foreign; using one is recorded as
// a violation (the host answers with an error or a neutral value, never by crashing).
class Ledger {
  public:
    void take(const std::string& kind, const void* handle) { held_[kind].insert(handle), ++taken_[kind]; }
    // Returns false (and records a violation) when the handle was not held.
    bool give(const std::string& kind, const void* handle);
    bool holds(const std::string& kind, const void* handle) const;
    // Checks a handle passed to an operation; records a violation naming the operation when it is unknown.
    bool check(const std::string& kind, const void* handle, const std::string& operation);

    std::size_t outstanding(const std::string& kind) const;
    std::map<std::string, std::size_t> outstanding() const;  // non-zero kinds only
    std::size_t taken(const std::string& kind) const;
    bool empty() const { return outstanding().empty(); }

    void violation(std::string message) { violations_.push_back(std::move(message)); }
    const std::vector<std::string>& violations() const { return violations_; }

    void clear();

  private:
    std::map<std::string, std::multiset<const void*>> held_;
    std::map<std::string, std::size_t> taken_;
    std::vector<std::string> violations_;
};

}  // namespace simhost
