// The one gate a design passes before anything is computed from it: every
// command of vexlin-cli that computes and every analysis window runs it
// first, and shows its cause in place of figures when it fails.
//
// A design fails when one of its dimensions is
//   - not a finite number (NaN or an infinity);
//   - absurd: larger in size than kAbsurdDimension (1e6), in length units or
//     degrees. No gear has a rod a million times its crank, and a file that
//     is not a design (a text, a picture) read as one gives values like
//     8e+32 here;
//   - a length the gear needs above zero (kPositiveLengthIds: the stroke,
//     the driver, the rods, the link, the lifting links and arms, the
//     rocker's arms) that is zero or negative.
// The first dimension in the table's order that fails is named.
//
// Whether the linkage closes, and whether the valve events happen, depend
// on where the gear stands: each analysis says that of its own positions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/state/gear_state.h"

namespace vx {

constexpr float kAbsurdDimension = 1e6f;

enum class DesignFaultKind : std::uint8_t {
    None = 0,
    NotFinite,    // NaN or an infinity
    Absurd,       // beyond +-kAbsurdDimension
    NotAboveZero, // a length the gear needs above zero is not
};

struct DesignFault {
    DesignFaultKind kind = DesignFaultKind::None;
    int id = 0; // the dimension's id
    float value = 0;
    bool Any() const { return kind != DesignFaultKind::None; }
};

// The first fault of the design's dimensions, or kind None.
DesignFault CheckDesignValidity(const Design& d);

// Every fault, one per failing dimension, in the table's order.
std::vector<DesignFault> DesignFaults(const Design& d);

// The fault in words, naming the dimension, its field and its value:
// "Main Rod Length (mainRodLength) is -10; the gear needs it above zero".
// Empty for kind None.
std::string DescribeDesignFault(const DesignFault& fault);

// A short machine-readable name: "not-finite", "absurd", "dimension".
const char* DesignFaultName(DesignFaultKind kind);

} // namespace vx
