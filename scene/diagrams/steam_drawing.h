// The steam (indicator) diagram: for each listed reverse arm position the
// gear runs 150 steps of 4 degrees through a simple pressure model of the
// front and rear cylinder ends, and the last turn is plotted as pressure
// against piston position, with the cut-off, release, compression and
// admission figures of each end. Scene code: draws through a Canvas only.
#pragma once

#include <array>

#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// Steps of one position's run and the first step whose line is drawn.
constexpr int kSteamSteps = 150;
constexpr int kSteamFirstDrawnStep = 61;
constexpr float kSteamStartAngle = 96;
constexpr float kSteamAngleStep = 4;

enum class IndicatorPhase { Exhaust, Compression, Admission, Expansion };

// One cylinder end of the pressure model.
struct IndicatorEnd {
    float pressure = 0;
    float releasePressure = 0;
    IndicatorPhase phase = IndicatorPhase::Exhaust;
    bool markerShown = false;
};

// The pressure model's state, carried from one position to the next within
// one drawing pass.
struct IndicatorSimulation {
    float pistonPrev = 0;
    IndicatorEnd front{0, 0, IndicatorPhase::Exhaust, false};
    IndicatorEnd rear{0, 0, IndicatorPhase::Admission, false};
};

// One step of both phase machines (front, then rear) for the piston position
// and openings in `now`. An admission with a steam opening below 0.005
// raises that opening in `now` to 0.005.
void RunIndicatorPhaseMachines(IndicatorSimulation& s, PortOpenings& now);

// The four events of each end, in the order of the CSV columns.
enum SteamFigure {
    kFrontCutOff,
    kFrontRelease,
    kFrontCompression,
    kFrontAdmission,
    kRearCutOff,
    kRearRelease,
    kRearCompression,
    kRearAdmission,
    kSteamFigureCount
};

// The figures the diagram prints for one position: the percentage of piston
// travel of the last occurrence of each event in the position's 150 steps.
struct SteamPositionFigures {
    float position = 0;
    std::array<float, kSteamFigureCount> percent{};
    std::array<bool, kSteamFigureCount> found{};
};

struct SteamFigures {
    int count = 0; // positions drawn
    std::array<SteamPositionFigures, kRevArmPositions> positions{};
};

// Draws the whole diagram (the caller clears first): axes, scales, header,
// one curve per listed position, the dynamic-variable block and undo line.
// Restores the reverse arm position and driver angle; leaves
// LastDiagramPosition at the last position drawn and the solver's outputs
// and port openings at the last sample. When `figures` is given it receives
// the printed event figures.
void DrawSteamDiagram(const GearState& g, Canvas& c, SteamFigures* figures = nullptr);

} // namespace vx
