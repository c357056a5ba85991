#include "random_source.hpp"

#include <string>

#include "host_error.hpp"

namespace simhost {

void RandomSource::reseed(uint64_t seed) {
    engine_.seed(seed);
    scripted_ = false;
    values_.clear();
    position_ = 0;
}

void RandomSource::script(std::vector<float> values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!(values[i] >= 0.0f && values[i] < 1.0f))
            throw HostError("random value " + std::to_string(i + 1) + " (" + std::to_string(values[i]) +
                            ") is not in [0, 1)");
    values_ = std::move(values);
    position_ = 0;
    scripted_ = true;
}

std::optional<float> RandomSource::next() {
    if (scripted_) {
        if (position_ >= values_.size())
            return std::nullopt;
        ++drawn_;
        return values_[position_++];
    }
    ++drawn_;
    // 24 random bits give every float in [0, 1) on a 2^-24 grid and never 1.0f.
    return static_cast<float>(engine_() >> 40) * 0x1.0p-24f;
}

}  // namespace simhost
