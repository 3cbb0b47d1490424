// The report writer: the report's PDF in the faces of the pictures it
// holds (the steam diagram's narrow face among them), titled after the
// design.
#include "export/report_file.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <string>

#include "model/workspace/defaults.h"
#include "scene/report/design_report.h"
#include "model/analysis/report_data.h"
#include "tests/kit/poppler.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

TEST(ReportFile, UsesTheCanvasFacesAndTheTitle) {
    GearState g;
    StartUp(g);
    test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("report.pdf"));
    ASSERT_EQ(WriteReport(g, Paper::A4, file), "");
    const std::vector<std::string> fonts = test::PdfFontNames(file);
    for (const char* face : {"LiberationSans", "LiberationSans-Bold", "LiberationSansNarrow"})
        EXPECT_NE(std::find(fonts.begin(), fonts.end(), face), fonts.end()) << face;
    const std::string info = test::Poppler(QStringLiteral("pdfinfo"), {file});
    EXPECT_NE(info.find("Vexlin design report: " + g.designName), std::string::npos) << info;
    EXPECT_NE(info.find("Pages:           " + std::to_string(kReportPages)), std::string::npos) << info;
}

// Data built beforehand (as a window builds it on a worker thread) writes
// the same report, titled after the design it was built from; a cancelled
// build writes nothing, leaves an existing file as it was, and says so.
TEST(ReportFile, WritesDataBuiltBeforehandAndRefusesACancelledBuild) {
    GearState g;
    StartUp(g);
    g.designName = "Built first";
    test::TempDir dir;
    const QString direct = QString::fromStdString(dir.File("direct.pdf"));
    const QString prebuilt = QString::fromStdString(dir.File("prebuilt.pdf"));
    ASSERT_EQ(WriteReport(g, Paper::A4, direct), "");
    const ReportData data = BuildReportData(g);
    g.designName = "Renamed after the build";
    ASSERT_EQ(WriteReport(data, Paper::A4, prebuilt), "");
    const auto text = [](const QString& file) { return test::Poppler(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}); };
    EXPECT_EQ(text(direct), text(prebuilt));
    EXPECT_NE(test::Poppler(QStringLiteral("pdfinfo"), {prebuilt}).find("Vexlin design report: Built first"),
              std::string::npos);

    const ReportData cancelled = BuildReportData(g, [](long long, long long) { return false; });
    ASSERT_TRUE(cancelled.cancelled);
    const QString message = WriteReport(cancelled, Paper::A4, prebuilt);
    EXPECT_EQ(message, QStringLiteral("cannot write %1: the report was cancelled").arg(prebuilt));
    EXPECT_EQ(text(direct), text(prebuilt)); // the old file as it was
    const QString fresh = QString::fromStdString(dir.File("fresh.pdf"));
    EXPECT_NE(WriteReport(cancelled, Paper::A4, fresh), "");
    EXPECT_FALSE(QFile::exists(fresh));
}

} // namespace
} // namespace vx
