// The design report as a PDF file: the pages of the scene's report drawn
// on the PDF canvas (titled "Vexlin design report: NAME", dated today, with
// the program's version) and written through the one safe file writer, so
// that a write cut short leaves the old file as it was. The window's
// "Export Report" and the command line's "report" both write here.
#pragma once

#include <QString>

#include "base/length_unit.h"
#include "model/state/gear_state.h"
#include "platform/paper_size.h"

namespace vx {

struct ReportData;

// Writes the report of `g` on `paper` to `path`: builds its data, then
// draws it, its lengths labelled with `unit`. Returns "" when done, else
// "cannot write PATH: REASON".
QString WriteReport(const GearState& g, Paper paper, const QString& path, LengthUnit unit = LengthUnit::None);

// The same from data already built (BuildReportData, as on a worker
// thread). A cancelled build writes nothing and says so.
QString WriteReport(const ReportData& data, Paper paper, const QString& path, LengthUnit unit = LengthUnit::None);

} // namespace vx
