// The valve events as text: the CSV rows a spreadsheet reads (vexlin-cli
// events --csv, the events window's Copy) and the table aligned for reading.
// Numbers through the program's formatter, whatever the locale. No I/O.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/analysis/position_text.h"
#include "model/analysis/valve_events.h"

namespace vx {

// The CSV header line (with its line end). offset is the position as asked
// for, relative to that design's mid gear, so that the rows of two designs
// with different mid gears join on offset and end; closes is "yes" when the
// linkage closed at every angle solved and every figure is a finite number.
inline constexpr std::string_view kValveEventsCsvHeader =
    "position,direction,end,admissionAngle,cutOffAngle,releaseAngle,compressionAngle,admission,cutOff,release,"
    "compression,lead,maxSteamOpening,maxExhaustOpening,valveTravel,dieSlip,steamOpenings,exhaustOpenings,"
    "offset,closes\n";

// Whether every figure of the position is a finite number.
bool EventsFinite(const PositionEvents& e);

// Whether the position closes (PositionEvents::Closes) with finite figures.
inline bool EventsSound(const PositionEvents& e) { return e.Closes() && EventsFinite(e); }

// Two rows, front then rear: position with 6 decimals, angles and
// percentages with 4, lengths with 5, counts as integers, an empty field
// where there is no event; the offset in the shortest form (empty when not
// given), closes yes or no. With Digits::Full the position and every
// figure in the shortest form that reads back as the same double.
void AppendValveEventsCsv(std::string& out, const PositionEvents& e, std::optional<float> offset,
                          Digits digits = Digits::Fixed);

// Header and the rows of every position; offsets[i] is position i's offset
// from mid gear (none given: empty fields).
std::string ValveEventsCsv(std::span<const PositionEvents> events, std::span<const float> offsets = {},
                           Digits digits = Digits::Fixed);

// One block per position: the position (and its offset from `centre`),
// the direction, then a row per quantity with the front and rear columns
// side by side and the difference front minus rear where one is read. The
// rows of lengths carry the style's unit ("lead, mm").
void AppendValveEventsTable(std::string& out, const PositionEvents& e, double centre, const FigureStyle& style = {});

// The geometry errors of a position in plain words ("" when it closes with
// finite figures).
std::string ValveEventsErrorText(const PositionEvents& e);

// Whether both ends have all four events in the turn (admission, cut-off,
// release, compression): a port that never opens, or an event lost, is a
// fault of the design at that position.
bool EventsComplete(const PositionEvents& e);

// Whether the position's figures can be trusted: sound and complete.
inline bool EventsUsable(const PositionEvents& e) { return EventsSound(e) && EventsComplete(e); }

// Why the position's figures cannot be trusted, in plain words
// (ValveEventsErrorText, else the events that never happen), "" when they
// can: "reverse arm 6.621721: the front release and compression never
// happen".
std::string EventsFaultText(const PositionEvents& e);

} // namespace vx
