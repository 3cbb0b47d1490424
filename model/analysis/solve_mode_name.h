// The names of the solves as the command line and the program's settings
// spell them: "exact" and "classic".
#pragma once

#include <optional>
#include <string_view>

#include "model/analysis/solve_mode.h"

namespace vx {

constexpr std::string_view SolveModeName(SolveMode mode) {
    return mode == SolveMode::Classic ? "classic" : "exact";
}

// The solve of a name as SolveModeName spells it (exactly), or nullopt.
constexpr std::optional<SolveMode> ReadSolveModeName(std::string_view name) {
    for (const SolveMode m : {SolveMode::Exact, SolveMode::Classic})
        if (name == SolveModeName(m)) return m;
    return std::nullopt;
}

} // namespace vx
