// What the report's pages share: the page's margins and text sizes, the
// running page with its footer and headings, the pages' titles, and one
// drawing function per page (or kind of page), each in its own file. The
// pages only draw: every figure they show is in the ReportData.
#pragma once

#include <string>
#include <string_view>

#include "platform/paged_canvas.h"
#include "scene/report/design_report.h"
#include "model/analysis/report_data.h"

namespace vx::report {

// Page margins and text sizes, page units (1/96 inch).
constexpr int kMargin = 56;
constexpr int kBody = 11;
constexpr int kSmall = 10;
constexpr int kHeading = 14;
constexpr int kTitle = 22;
constexpr Rgb kGreyInk{96, 96, 96};

TextStyle Style(int px, bool bold = false, Rgb color = colors::kBlack);
int LineHeight(int px);

// The pages' headings, which the contents list too.
inline constexpr std::string_view kGearTitle = "The gear at crank angle 45 degrees";
inline constexpr std::string_view kEventsTitle = "Valve events of the nine notches";
inline constexpr std::string_view kRobustnessTitle = "How sure are the events: sensitivity and tolerance";
inline constexpr std::string_view kCardsTitle = "Indicator cards of the nine notches";

// The page being drawn, numbered from 1.
struct Page {
    PagedCanvas& c;
    const ReportData& data;
    const GearState& g; // data.design
    const ReportInfo& info;
    int number = 1;
    int pages = kReportPages; // of the whole report
    int left = kMargin, right = 0, bottom = 0;

    int ContentWidth() const { return right - left; }
    // The rule, the design's name and "Page N of M" at the foot.
    void Footer();
    // The footer, then a new page.
    void Next();
    // A heading at `y`; the y below it.
    int Heading(int y, std::string_view text);
};

// Page 1: title block, dimensions, geometry check, the events at a glance
// and the contents.
void DrawFirstPage(Page& p);
// Page 2: the gear in three positions.
void DrawGearPage(Page& p);
// Pages 3 and 4: the diagrams, two to a page; `page` 0 or 1.
constexpr int kDiagramPages = 2;
void DrawDiagramPage(Page& p, int page);
// Page 5: the events of the nine notches.
void DrawEventsPage(Page& p);
// Page 6: the sensitivity ranking and the spread under tolerance.
void DrawRobustnessPage(Page& p);
// Page 7: the indicator cards of the nine notches.
void DrawWorkPage(Page& p);
// After them, when a valve setting was made in the window: its text, on as
// many pages as it needs.
inline constexpr std::string_view kValveSettingTitle = "Setting the valves: the measurements, the fit, the corrections";
int ValveSettingPages(const Page& p);
void DrawValveSettingPages(Page& p);

} // namespace vx::report
