#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace simhost {

// Every host operation the plug-in calls, in order, with its arguments rendered as text.
// Operation names are "Suite.Operation", for example "AIPatternSuite.CountPatterns".
struct JournalEntry {
    std::string operation;
    std::string arguments;
};

class Journal {
  public:
    void record(std::string_view operation, std::string arguments) {
        entries_.push_back({std::string(operation), std::move(arguments)});
    }
    const std::vector<JournalEntry>& entries() const { return entries_; }
    std::size_t count(std::string_view operation) const {
        std::size_t n = 0;
        for (const auto& e : entries_)
            n += e.operation == operation ? 1 : 0;
        return n;
    }
    // Operation names only, in order; handy for asserting on a sequence.
    std::vector<std::string> operations() const {
        std::vector<std::string> names;
        names.reserve(entries_.size());
        for (const auto& e : entries_)
            names.push_back(e.operation);
        return names;
    }
    void clear() { entries_.clear(); }

  private:
    std::vector<JournalEntry> entries_;
};

}  // namespace simhost
