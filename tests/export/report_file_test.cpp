// The report writer: the report's PDF in the faces of the pictures it
// holds (the steam diagram's narrow face among them), titled after the
// design.
#include "export/report_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "model/defaults.h"
#include "scene/report/design_report.h"
#include "tests/export/poppler.h"
#include "tests/temp_dir.h"

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

} // namespace
} // namespace vx
