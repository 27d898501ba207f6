#pragma once
#include <cstdint>

namespace schemegen {

// SplitMix64: a tiny generator with a fixed seed, so every run synthesises the same bytes
// on every machine (std:: distributions are not specified bit for bit across libraries).
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}

    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), from the top 53 bits.
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // Uniform in [-1, 1).
    double Bipolar() { return 2.0 * Uniform() - 1.0; }

private:
    uint64_t state_;
};

// Mixes several values into one seed, so each sound gets its own stream regardless of the
// order in which sounds are rendered.
inline uint64_t MixSeed(uint64_t a, uint64_t b)
{
    Rng mixer(a ^ (b * 0xD6E8FEB86659FD93ull));
    return mixer.Next();
}

}  // namespace schemegen
