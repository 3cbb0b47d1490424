#include "cli/option_values.h"

#include <charconv>
#include <cmath>

#include "cli/command_table.h"
#include "cli/text_io.h"
#include "model/analysis/solve_mode_name.h"

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
    const std::string lower = LowerAscii(text);
    if (lower == "auto") direction = EventDirection::Auto;
    else if (lower == "forward") direction = EventDirection::Forward;
    else if (lower == "reverse") direction = EventDirection::Reverse;
    else {
        error = "--direction needs auto, forward or reverse";
        return false;
    }
    return true;
}

bool ReadSolveMode(std::string_view text, SolveMode& mode, std::string& error) {
    if (const auto m = ReadSolveModeName(LowerAscii(text))) {
        mode = *m;
        return true;
    }
    error = "--solve needs exact or classic, got " + Quote(text);
    return false;
}

bool ReadDigits(std::string_view text, Digits& digits, std::string& error) {
    const std::string lower = LowerAscii(text);
    if (lower == "fixed") digits = Digits::Fixed;
    else if (lower == "full") digits = Digits::Full;
    else {
        error = "--digits needs fixed or full, got " + Quote(text);
        return false;
    }
    return true;
}

bool ReadUnit(std::string_view text, LengthUnit& unit, std::string& error) {
    if (const auto u = ReadLengthUnit(LowerAscii(text))) {
        unit = *u;
        return true;
    }
    error = "--unit needs " + std::string(kLengthUnitNames) + ", got " + Quote(text);
    return false;
}

bool ReadAnalysisChoices(const Args& args, AnalysisChoices& choices, std::string& error) {
    for (const std::string& value : args.Values("--solve"))
        if (!ReadSolveMode(value, choices.solve, error)) return false;
    for (const std::string& value : args.Values("--digits"))
        if (!ReadDigits(value, choices.style.digits, error)) return false;
    for (const std::string& value : args.Values("--unit"))
        if (!ReadUnit(value, choices.style.unit, error)) return false;
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
