// The solved gear at one driver angle and reverse arm position: every
// pivot (world and screen), the link angle, the port event values, the port
// openings, the outlines of the cylinder and valve, and why the solve could
// not close. A value: cheap to copy, no pointers, no strings.
#pragma once

#include <array>
#include <cstdint>

#include "model/state/design.h"
#include "model/state/geometry_error.h"

namespace vx {

struct PivotTable {
    std::array<float, kPivotCount> x{};
    std::array<float, kPivotCount> y{};
    std::array<std::int32_t, kPivotCount> sx{};
    std::array<std::int32_t, kPivotCount> sy{};
};

// Port event values of the valve diagrams, written by the solver.
struct EventValues {
    float frontSteamOpenLevel = 0;
    float frontSteamMaxLevel = 0;
    float frontExhaustOpenLevel = 0;
    float rearSteamOpenLevel = 0;
    float rearSteamMaxLevel = 0;
    float rearExhaustOpenLevel = 0;
    float valveOffset = 0;
    float upperLeadTerm = 0;
    float lowerLeadTerm = 0;
    float frontLap = 0;
    float rearLap = 0;
    float frontExhaustClearance = 0;
    float rearExhaustClearance = 0;
};

struct PortOpenings {
    float pistonPosition = 0; // 0..640
    float frontSteamOpening = 0;
    float frontExhaustOpening = 0;
    float rearSteamOpening = 0;
    float rearExhaustOpening = 0;
};

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct Solution {
    PivotTable piv;
    float linkAngle = 0;
    EventValues events;
    PortOpenings ports;
    std::array<ScreenPoint, 24> cylOutline{};   // C(0..23)
    std::array<ScreenPoint, 14> valveOutline{}; // V(0..13)
    // The first failing step of the latest solve (None when it closed),
    // with the driver angle it happened at.
    GeometryCause solveCause = GeometryCause::None;
    float solveCauseAngle = 0;
};

// Puts the design's fixed pivots into the pivot table: pivots 16 and 27,
// Y of pivot 3, and the valve spindle's height (Y of pivot 4) that follows
// from the cylinder centre line.
void PlaceFixedPivots(const Design& d, Solution& s);

} // namespace vx
