// A Sound that records its calls, for tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sound.h"

namespace vx {

class RecordingSound final : public Sound {
public:
    enum class Kind { Play, Volume, Beep };
    struct Call {
        Kind kind;
        std::string name;            // Play: the file name
        std::uint16_t left = 0;      // Volume: the channel levels
        std::uint16_t right = 0;
        friend bool operator==(const Call&, const Call&) = default;
    };

    void Play(std::string_view fileName) override { calls_.push_back({Kind::Play, std::string(fileName)}); }
    void SetWaveVolume(std::uint16_t left, std::uint16_t right) override {
        calls_.push_back({Kind::Volume, {}, left, right});
    }
    void Beep() override { calls_.push_back({Kind::Beep, {}}); }

    const std::vector<Call>& Calls() const { return calls_; }
    int Count(Kind k) const {
        return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [k](const Call& c) { return c.kind == k; }));
    }
    void Reset() { calls_.clear(); }

private:
    std::vector<Call> calls_;
};

} // namespace vx
