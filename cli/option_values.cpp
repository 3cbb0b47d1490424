#include "cli/option_values.h"

#include <charconv>
#include <cmath>

#include "cli/text_io.h"

namespace vx::cli {

bool ReadOffsets(std::string_view text, std::size_t max, std::vector<double>& offsets, std::string& error) {
    offsets.clear();
    for (const std::string& word : SplitList(std::string(text))) {
        const auto v = ParseNumber(word);
        if (!v || !std::isfinite(*v)) {
            error = "--positions: not a finite number: " + Quote(word);
            return false;
        }
        if (offsets.size() == max) {
            error = "--positions: at most " + std::to_string(max) + " positions";
            return false;
        }
        offsets.push_back(*v);
    }
    return true;
}

bool ReadOffsetList(std::string_view text, std::vector<double>& offsets, std::string& error) {
    if (text.empty()) {
        error = "--positions needs a list of offsets";
        return false;
    }
    return ReadOffsets(text, kMaxEventPositions, offsets, error);
}

bool ReadDirection(std::string_view text, EventDirection& direction, std::string& error) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower == "auto") direction = EventDirection::Auto;
    else if (lower == "forward") direction = EventDirection::Forward;
    else if (lower == "reverse") direction = EventDirection::Reverse;
    else {
        error = "--direction needs auto, forward or reverse";
        return false;
    }
    return true;
}

bool ReadCount(std::string_view name, std::string_view text, long long lo, long long hi, long long& value,
               std::string& error) {
    long long v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc{} || ptr != end || v < lo || v > hi) {
        error = std::string(name) + " needs a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                ", got " + Quote(text);
        return false;
    }
    value = v;
    return true;
}

} // namespace vx::cli
