// The measurement file of the valve setting: one measured valve event a
// line, as CSV with a header naming the columns (in any order):
//
//   offset,direction,end,event,value,unit[,weight][,note]
//
// offset: the reverse arm position as an offset from mid gear; direction:
// auto, forward or reverse (empty: auto); end: front or rear; event:
// admission, cutOff, release, compression or lead; unit: percent (of stroke
// from that end's dead centre), deg (of crank) or length (the crosshead's
// distance from that end's dead centre; for a lead, the port opening at dead
// centre, which is always a length); weight: the measurement's standard
// uncertainty in its unit (empty: the default of its unit); note: any text.
// Names are read in any case. Blank lines and lines starting with "#" are
// skipped. Numbers are read with a decimal point whatever the locale.
//
// A line that cannot be read makes the whole file a usage error whose
// message names the line ("line 7: unknown event "cutof" ...").
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/analysis/valve_fit.h"

namespace vx {

struct MeasurementRead {
    std::vector<Measurement> rows;
    std::string error; // "line N: what is wrong"; empty when the text was read

    bool Ok() const { return error.empty(); }
};

MeasurementRead ReadMeasurements(std::string_view text);

// The header the writer writes.
inline constexpr std::string_view kMeasurementCsvHeader = "offset,direction,end,event,value,unit,weight,note\n";

// The measurements as a file the reader reads back to the same values.
std::string MeasurementsCsv(std::span<const Measurement> rows);

} // namespace vx
