#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace simhost {

// The host's random numbers: a seeded generator by default, or a script of values consumed in order so a
// run can be reproduced exactly. Every value is a float r with 0 <= r < 1.
class RandomSource {
  public:
    explicit RandomSource(uint64_t seed = 1) { reseed(seed); }

    void reseed(uint64_t seed);
    // Values must lie in [0, 1); throws HostError otherwise.
    void script(std::vector<float> values);
    bool scripted() const { return scripted_; }

    // The next value, or nothing when a scripted source has run out. (No exception: this is called from
    // inside the plug-in's frames, which cannot be unwound.)
    std::optional<float> next();
    std::size_t drawn() const { return drawn_; }
    std::size_t remaining() const { return scripted_ ? values_.size() - position_ : 0; }

  private:
    std::mt19937_64 engine_;
    bool scripted_ = false;
    std::vector<float> values_;
    std::size_t position_ = 0;
    std::size_t drawn_ = 0;
};

}  // namespace simhost
