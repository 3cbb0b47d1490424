#include "scene/report/design_report.h"

#include "model/analysis/report_data.h"
#include "scene/report/report_page.h"

namespace vx {

void DrawDesignReport(const ReportData& data, PagedCanvas& c, const ReportInfo& info) {
    if (data.cancelled) return;
    report::Page p{c, data, data.design, info};
    p.right = c.Width() - report::kMargin;
    p.bottom = c.Height() - report::kMargin - 12;
    p.pages = kReportPages + report::ValveSettingPages(p);

    report::DrawFirstPage(p);
    p.Next();
    report::DrawGearPage(p);
    p.Next();
    for (int i = 0; i < report::kDiagramPages; ++i) {
        report::DrawDiagramPage(p, i);
        p.Next();
    }
    report::DrawEventsPage(p);
    p.Next();
    report::DrawRobustnessPage(p);
    p.Next();
    report::DrawWorkPage(p);
    if (!data.valveSetting.empty()) {
        p.Next();
        report::DrawValveSettingPages(p);
    }
    p.Footer();
}

void DrawDesignReport(const GearState& design, PagedCanvas& c, const ReportInfo& info) {
    DrawDesignReport(BuildReportData(design), c, info);
}

} // namespace vx
