// The valve events as text: the CSV rows a spreadsheet reads (vexlin-cli
// events --csv, the events window's Copy) and the table aligned for reading.
// Numbers through the program's formatter, whatever the locale. No I/O.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/valve_events.h"

namespace vx {

// The CSV header line (with its line end).
inline constexpr std::string_view kValveEventsCsvHeader =
    "position,direction,end,admissionAngle,cutOffAngle,releaseAngle,compressionAngle,admission,cutOff,release,"
    "compression,lead,maxSteamOpening,maxExhaustOpening,valveTravel,dieSlip,steamOpenings,exhaustOpenings\n";

// Two rows, front then rear: position with 6 decimals, angles and
// percentages with 4, lengths with 5, counts as integers, an empty field
// where there is no event.
void AppendValveEventsCsv(std::string& out, const PositionEvents& e);

// Header and the rows of every position.
std::string ValveEventsCsv(std::span<const PositionEvents> events);

// One block per position: the position (and its offset from `centre`),
// the direction, then a row per quantity with the front and rear columns
// side by side and the difference front minus rear where one is read.
void AppendValveEventsTable(std::string& out, const PositionEvents& e, float centre);

// The geometry errors of a position in plain words ("" when it closes).
std::string ValveEventsErrorText(const PositionEvents& e);

} // namespace vx
