// The design report: every figure a designer files with a design, drawn
// page by page on a paged canvas by the same scene code as every picture
// of the program: a title block, the dimensions grouped as the editors
// group them with the geometry check's result, the gear at normal full
// forward, mid gear and normal full reverse, the four valve diagrams, and
// the exact valve events of the nine notches, the dimensions that move the
// cut-off difference most, the spread of the events under tolerance, and
// the indicator cards.
// Works on a copy of the design.
#pragma once

#include <string>

#include "model/gear_state.h"
#include "platform/paged_canvas.h"

namespace vx {

struct ReportInfo {
    std::string date;    // as the program writes dates
    std::string version; // the program's version
};

constexpr int kReportPages = 7;

void DrawDesignReport(GearState design, PagedCanvas& c, const ReportInfo& info);

} // namespace vx
