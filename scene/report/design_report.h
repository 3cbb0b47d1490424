// The design report: every figure a designer files with a design, drawn
// page by page on a paged canvas by the same scene code as every picture
// of the program: a title block, the dimensions grouped as the editors
// group them with the geometry check's result, the gear at normal full
// forward, mid gear and normal full reverse, the four valve diagrams, and
// the exact valve events of the nine notches, the dimensions that move the
// cut-off difference most, the spread of the events under tolerance, and
// the indicator cards.
//
// The report is found first (BuildReportData, report_data.h), then drawn;
// the drawing changes nothing it is given. Each page's drawing is in its
// own file (report_page_*.cpp, sharing report_page.h).
#pragma once

#include <string>

#include "base/length_unit.h"
#include "model/state/gear_state.h"
#include "platform/paged_canvas.h"

namespace vx {

struct ReportData;

struct ReportInfo {
    std::string date;    // as the program writes dates
    std::string version; // the program's version
    LengthUnit unit = LengthUnit::None; // the unit the lengths are labelled with
};

constexpr int kReportPages = 7;

// Draws the report of data built by BuildReportData and not cancelled (a
// cancelled build draws nothing).
void DrawDesignReport(const ReportData& data, PagedCanvas& c, const ReportInfo& info);

// Builds the report's data for `design`, then draws it.
void DrawDesignReport(const GearState& design, PagedCanvas& c, const ReportInfo& info);

} // namespace vx
