// The design report's pages: laid out without overlaps inside the margins
// (on a canvas that records them), drawn the same from the same data, and
// built with progress and a way to stop. The PDF the window writes is
// tested with its command (tests/gui/controls/report_export_dialog_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "scene/diagrams/valve_events_drawing.h"
#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/valve_events.h"
#include "platform/paged_canvas.h"
#include "platform/paper_size.h"
#include "scene/report/design_report.h"
#include "model/analysis/report_data.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

// Page texts and picture boxes, by page.
class LayoutCanvas final : public PagedCanvas {
public:
    struct Box {
        int page;
        double x0, y0, x1, y1;
        std::string text; // empty for a picture
    };
    explicit LayoutCanvas(Paper paper) : size_(SizeOf(paper)) {}

    int Width() const override { return inPicture_ ? pictureRight_ : size_.width; }
    int Height() const override { return inPicture_ ? pictureBottom_ : size_.height; }
    void Clear(Rgb) override {}
    void SetPen(Rgb, int) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void Arc(int, int, int, int, int, int, int, int) override {}
    void SetPixel(int, int, Rgb) override {}
    void Text(int x, int y, std::string_view utf8, const TextStyle& s) override {
        if (inPicture_) return; // the pictures' own texts are the scene's business
        boxes.push_back({page, double(x), double(y), double(x + SansTextWidth(utf8, s.pixelSize, s.bold)),
                         y + s.pixelSize * 1.15, std::string(utf8)});
    }
    void NewPage() override { ++page; }
    void BeginPicture(int left, int top, double scale, int, int, int w, int h) override {
        inPicture_ = true;
        pictureRight_ = w;
        pictureBottom_ = h;
        boxes.push_back({page, double(left), double(top), left + w * scale, top + h * scale, {}});
    }
    void EndPicture() override { inPicture_ = false; }

    int page = 1;
    std::vector<Box> boxes;

private:
    PaperSize size_;
    bool inPicture_ = false;
    int pictureRight_ = 0, pictureBottom_ = 0;
};

// Every call, one line each, in order: two drawings alike to the last
// pixel write the same log.
class LogCanvas final : public PagedCanvas {
public:
    explicit LogCanvas(Paper paper) : size_(SizeOf(paper)) { log_ << std::hexfloat; }

    int Width() const override { return inPicture_ ? pictureRight_ : size_.width; }
    int Height() const override { return inPicture_ ? pictureBottom_ : size_.height; }
    void Clear(Rgb fill) override { log_ << "clear " << Color(fill) << '\n'; }
    void SetPen(Rgb color, int width) override { log_ << "pen " << Color(color) << ' ' << width << '\n'; }
    void MoveTo(int x, int y) override { log_ << "move " << x << ' ' << y << '\n'; }
    void LineTo(int x, int y) override { log_ << "line " << x << ' ' << y << '\n'; }
    void Ellipse(int l, int t, int r, int b) override { log_ << "ellipse " << l << ' ' << t << ' ' << r << ' ' << b << '\n'; }
    void Arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2) override {
        log_ << "arc " << l << ' ' << t << ' ' << r << ' ' << b << ' ' << x1 << ' ' << y1 << ' ' << x2 << ' ' << y2
             << '\n';
    }
    void SetPixel(int x, int y, Rgb color) override { log_ << "pixel " << x << ' ' << y << ' ' << Color(color) << '\n'; }
    void Text(int x, int y, std::string_view utf8, const TextStyle& s) override {
        log_ << "text " << x << ' ' << y << ' ' << static_cast<int>(s.face) << ' ' << s.pixelSize << ' ' << s.bold
             << s.underline << s.opaque << ' ' << Color(s.color) << ' ' << Color(s.background) << ' ' << utf8 << '\n';
    }
    void NewPage() override { log_ << "page\n"; }
    void BeginPicture(int left, int top, double scale, int sl, int st, int w, int h) override {
        inPicture_ = true;
        pictureRight_ = sl + w;
        pictureBottom_ = st + h;
        log_ << "picture " << left << ' ' << top << ' ' << scale << ' ' << sl << ' ' << st << ' ' << w << ' ' << h
             << '\n';
    }
    void EndPicture() override {
        inPicture_ = false;
        log_ << "end picture\n";
    }
    std::string Log() const { return log_.str(); }

private:
    static std::string Color(Rgb c) {
        return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
    }
    PaperSize size_;
    bool inPicture_ = false;
    int pictureRight_ = 0, pictureBottom_ = 0;
    std::ostringstream log_;
};

std::string DrawnLog(const ReportData& data, Paper paper) {
    LogCanvas c(paper);
    DrawDesignReport(data, c, {"2026-01-02", "9.9"});
    return c.Log();
}

bool Overlap(const LayoutCanvas::Box& a, const LayoutCanvas::Box& b) {
    return a.page == b.page && a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

void ExpectCleanLayout(const GearState& g, Paper paper, LengthUnit unit = LengthUnit::None) {
    LayoutCanvas c(paper);
    DrawDesignReport(g, c, {"2026-01-02", "9.9", unit});
    EXPECT_EQ(c.page, kReportPages);
    const PaperSize size = SizeOf(paper);
    // The first page is used to its foot: its lowest text above the footer
    // lies in the last fifth of the paper.
    double lowest = 0;
    for (const auto& b : c.boxes) {
        if (b.page == 1 && b.text.rfind("Vexlin design report:", 0) != 0 && b.text.rfind("Page ", 0) != 0)
            lowest = std::max(lowest, b.y1);
    }
    EXPECT_GT(lowest, 0.8 * size.height);
    constexpr double kMarginInside = 40; // every box keeps this far from the paper's edge
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
        const auto& a = c.boxes[i];
        EXPECT_GE(a.x0, kMarginInside) << a.page << " " << a.text;
        EXPECT_GE(a.y0, kMarginInside) << a.page << " " << a.text;
        EXPECT_LE(a.x1, size.width - kMarginInside) << a.page << " " << a.text;
        EXPECT_LE(a.y1, size.height - kMarginInside) << a.page << " " << a.text;
        for (std::size_t j = i + 1; j < c.boxes.size(); ++j) {
            EXPECT_FALSE(Overlap(a, c.boxes[j])) << "page " << a.page << ": \"" << a.text << "\" and \""
                                                 << c.boxes[j].text << "\"";
        }
    }
}

using DesignReportTest = test::StartedGear;

TEST_F(DesignReportTest, PagesKeepInsideTheMarginsWithoutOverlaps) {
    for (const Paper paper : {Paper::A4, Paper::Letter}) {
        SCOPED_TRACE(paper == Paper::A4 ? "A4" : "Letter");
        ExpectCleanLayout(g, paper);
    }
    // A design that does not close lists its failures within the page too.
    GearState broken = g;
    broken.frame.mainRodLength = 1;
    ExpectCleanLayout(broken, Paper::A4);
}

// The unit labels the report's lengths (the dimensions, the summary's rows,
// the events' note, the tolerances) and nothing else, the layout as clean;
// without one, no label.
TEST_F(DesignReportTest, TheUnitLabelsTheLengthsOfEveryPage) {
    GearState mm = g;
    mm.frame.stroke = 76.2f;
    ExpectCleanLayout(mm, Paper::A4, LengthUnit::Millimetre);
    const auto texts = [&](LengthUnit unit) {
        LayoutCanvas c(Paper::A4);
        DrawDesignReport(mm, c, {"d", "v", unit});
        std::vector<std::pair<int, std::string>> all;
        for (const auto& b : c.boxes)
            if (!b.text.empty()) all.emplace_back(b.page, b.text);
        return all;
    };
    const auto has = [](const std::vector<std::pair<int, std::string>>& all, int page, std::string_view part) {
        for (const auto& [p, t] : all)
            if ((page == 0 || p == page) && t.find(part) != std::string::npos) return true;
        return false;
    };
    const auto labelled = texts(LengthUnit::Millimetre);
    EXPECT_TRUE(has(labelled, 1, "Lengths in mm, angles in degrees"));
    EXPECT_TRUE(has(labelled, 1, "76.2 mm"));  // the stroke among the dimensions
    EXPECT_TRUE(has(labelled, 1, "302"));      // an angle, without the unit
    EXPECT_FALSE(has(labelled, 1, "302 mm"));
    EXPECT_TRUE(has(labelled, 1, "Lead, mm"));
    EXPECT_TRUE(has(labelled, 1, "Largest steam opening, mm"));
    EXPECT_TRUE(has(labelled, 5, "The lead and the openings are in mm."));
    EXPECT_TRUE(has(labelled, kReportPages - 1, "\xC2\xB1" "0.002 mm"));
    const auto inches = texts(LengthUnit::Inch);
    EXPECT_TRUE(has(inches, 1, "76.2 in"));
    const auto plain = texts(LengthUnit::None);
    EXPECT_TRUE(has(plain, 1, "76.2"));
    for (const char* label : {" mm", "76.2 in", "Lengths in", "Lead, "}) EXPECT_FALSE(has(plain, 0, label)) << label;
}

// Every page, and a geometry check that names each of the nine notches as
// not closing (no stroke leaves the piston without a place at any angle).
TEST_F(DesignReportTest, HostileDesignsStillMakeEveryPage) {
    for (const float v :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f, 0.0f}) {
        for (const bool valveToo : {true, false}) {
            GearState h = g;
            h.frame.stroke = v;
            if (valveToo) h.cyl.valveCtrToJoint() = v;
            LayoutCanvas c(Paper::A4);
            DrawDesignReport(h, c, {"d", "v"});
            EXPECT_EQ(c.page, kReportPages);
            int notches = 0;
            for (const LayoutCanvas::Box& b : c.boxes) {
                EXPECT_EQ(b.text.find("The linkage closes at every crank angle"), std::string::npos) << v;
                if (b.page == 1 && b.text.starts_with("Notch ") && b.text.find("does not close") != std::string::npos)
                    ++notches;
            }
            EXPECT_EQ(notches, kNotchCount) << v << " " << valveToo;
        }
    }
}

TEST_F(DesignReportTest, TheLastPageRanksTheDimensionsAndShowsTheSpread) {
    LayoutCanvas c(Paper::A4);
    DrawDesignReport(g, c, {"d", "v"});
    std::vector<std::string> texts;
    int pictures = 0;
    for (const auto& b : c.boxes) {
        if (b.page != kReportPages - 1) continue; // the page before the indicator cards
        if (b.text.empty()) ++pictures;
        else texts.push_back(b.text);
    }
    EXPECT_EQ(pictures, 3); // two rankings and the spread
    const auto has = [&texts](std::string_view part) {
        for (const std::string& t : texts)
            if (t.find(part) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(has("sensitivity and tolerance"));
    EXPECT_TRUE(has("normal full forward"));
    EXPECT_TRUE(has("normal full reverse"));
    EXPECT_TRUE(has("100 samples; the tolerance command takes 1000"));
    EXPECT_TRUE(has("\xC2\xB1" "0.002"));
}

// The report is found once, then drawn: drawing the same data twice draws
// the same pages, the same as building and drawing in one call, and the
// design given is not touched.
TEST_F(DesignReportTest, DrawingTheSameDataTwiceDrawsTheSamePages) {
    GearState broken = g;
    broken.frame.mainRodLength = 1; // the pages of a failing design too
    struct Case {
        const GearState* design;
        bool spread; // the tolerance run needs a design that closes at both positions
    };
    for (const Case& k : {Case{&g, true}, Case{&broken, false}}) {
        const GearState before = *k.design;
        const ReportData data = BuildReportData(*k.design);
        ASSERT_FALSE(data.cancelled);
        EXPECT_EQ(data.tolerance.has_value(), k.spread);
        const std::string first = DrawnLog(data, Paper::A4);
        EXPECT_EQ(first, DrawnLog(data, Paper::A4));
        LogCanvas oneCall(Paper::A4);
        DrawDesignReport(*k.design, oneCall, {"2026-01-02", "9.9"});
        EXPECT_EQ(first, oneCall.Log());
        std::size_t pages = 1;
        for (auto at = first.find("\npage\n"); at != std::string::npos; at = first.find("\npage\n", at + 1)) ++pages;
        EXPECT_EQ(pages, static_cast<std::size_t>(kReportPages));
        // The design given is as it was.
        EXPECT_EQ(k.design->designName, before.designName);
        EXPECT_EQ(k.design->motion.reverseArmPosition, before.motion.reverseArmPosition);
        EXPECT_EQ(k.design->piv.sx, before.piv.sx);
        EXPECT_EQ(k.design->piv.sy, before.piv.sy);
    }
}

// The build tells its progress on the calling thread, rising to the whole,
// and stops at once when told to; a cancelled build draws nothing.
TEST_F(DesignReportTest, BuildingTellsItsProgressAndStopsWhenCancelled) {
    std::vector<std::pair<long long, long long>> told;
    const ReportData whole = BuildReportData(g, [&told](long long done, long long total) {
        told.emplace_back(done, total);
        return true;
    });
    EXPECT_FALSE(whole.cancelled);
    ASSERT_GE(told.size(), 5u); // at least once a stage
    for (std::size_t i = 0; i < told.size(); ++i) {
        EXPECT_EQ(told[i].second, told.front().second) << i;
        EXPECT_GT(told[i].first, 0) << i;
        EXPECT_LE(told[i].first, told[i].second) << i;
        if (i > 0) {
            EXPECT_GE(told[i].first, told[i - 1].first) << i;
        }
    }
    EXPECT_EQ(told.back().first, told.back().second);

    // Cancelled at the first call, in the middle (an analysis under way)
    // and at the last.
    for (const std::size_t stopAt : {std::size_t{1}, told.size() / 2, told.size()}) {
        SCOPED_TRACE(stopAt);
        std::size_t calls = 0;
        const ReportData cut = BuildReportData(g, [&calls, stopAt](long long, long long) { return ++calls < stopAt; });
        EXPECT_TRUE(cut.cancelled);
        EXPECT_EQ(calls, stopAt);
        EXPECT_EQ(DrawnLog(cut, Paper::A4), "");
    }
}

} // namespace
} // namespace vx
