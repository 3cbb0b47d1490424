// Pseudo-random integers for the steam display.
#pragma once

#include <chrono>
#include <cstdint>

namespace vx {

class Random {
public:
    virtual ~Random() = default;
    // Starts a new sequence (from the clock, for the program's generator).
    virtual void Reseed() = 0;
    // A uniformly distributed integer in 0 .. n-1 for n >= 1; 0 otherwise.
    virtual int Next(int n) = 0;
};

// The classic linear congruential generator: state = state * 134775813 + 1,
// value = (state * n) >> 32. Deterministic: Reseed() restarts from `seed`.
class LcgRandom : public Random {
public:
    explicit LcgRandom(std::uint32_t seed = 0) : seed_(seed), state_(seed) {}
    void Reseed() override { state_ = seed_; }
    int Next(int n) override {
        state_ = state_ * 134775813u + 1u;
        if (n <= 0) return 0;
        return static_cast<int>((std::uint64_t{state_} * static_cast<std::uint64_t>(n)) >> 32);
    }

protected:
    std::uint32_t seed_;
    std::uint32_t state_;
};

// The program's generator: reseeded from the clock (milliseconds).
class ClockRandom final : public LcgRandom {
public:
    ClockRandom() { Reseed(); }
    void Reseed() override {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        state_ = static_cast<std::uint32_t>(ms.count());
    }
};

} // namespace vx
