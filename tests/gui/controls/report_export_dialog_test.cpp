// "Export Report": the PDF the window's command writes, read back with
// poppler's pdftotext and pdfinfo and rendered with pdftoppm, the file
// chosen (nothing on a cancel) and a file that cannot be written.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "base/fixed_format.h"
#include "gui/controls/report_export_dialog.h"
#include "model/analysis/valve_events.h"
#include "model/gear/dimensions.h"
#include "scene/report/design_report.h"
#include "tests/kit/poppler.h"
#include "tests/kit/started_gear.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

using ReportExportTest = test::StartedGear;

TEST_F(ReportExportTest, PdfHoldsTheDimensionsAndTheEventFigures) {
    test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("design.pdf"));
    ReportExport exporter(nullptr, g);
    exporter.paper = Paper::A4;
    QString error;
    exporter.showError = [&error](const QString& m) { error = m; };
    ASSERT_TRUE(exporter.WriteFile(file)) << error.toStdString();

    const std::string info = test::Poppler(QStringLiteral("pdfinfo"), {file});
    EXPECT_NE(info.find("Pages:           " + std::to_string(kReportPages)), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;

    const std::string text = test::Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    EXPECT_NE(text.find("Vexlin design report"), std::string::npos);
    EXPECT_NE(text.find("Design: Nominal"), std::string::npos);
    for (const DimensionInfo& d : AllDimensions()) EXPECT_NE(text.find(std::string(d.field)), std::string::npos) << d.field;
    // The editors' labels as one line each, the dittos spelt out.
    for (const char* label : {"Driver Diameter", "Eccentric Angle Reverse", "ExLink-Ecc Rod Pivot Back Set",
                              "Lifting Arm ExLink Angle", "Rev/Lift Arm Pivot Horz", "Reverse Arm to Cent Max",
                              "Piston ctr to Crosshead ctr (Piston Rod)", "Valve ctr to Joint (Valve Stem)"}) {
        EXPECT_NE(text.find(label), std::string::npos) << label;
    }
    // The events of the nine notches, as the events window prints them.
    const auto notches = NotchPositions(g, SolveMode::Exact);
    for (const std::size_t i : {0u, 4u, 8u}) {
        const PositionEvents e = ComputeValveEvents(g, notches[i]);
        char buf[kNumberBuffer];
        for (const double v : {*e.front.cutOff, *e.rear.cutOff, *e.front.cutOffAngle}) {
            const std::string figure(FormatFixed(buf, v, 0, 2));
            EXPECT_NE(text.find(figure), std::string::npos) << figure;
        }
        const std::string travel(FormatFixed(buf, e.valveTravel, 0, 5));
        EXPECT_NE(text.find(travel), std::string::npos) << travel;
    }
    EXPECT_NE(text.find("The linkage closes at every crank angle"), std::string::npos);
    // Page by page: the gear pictures at mid gear 7.621721 -+ Norm 1, and the
    // four diagrams on pages 3 and 4.
    const auto pages = [&](int first, int last) {
        return test::Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"),
                                                     QString::number(first), QStringLiteral("-l"),
                                                     QString::number(last), file, QStringLiteral("-")});
    };
    const std::string gear = pages(2, 2);
    for (const char* caption : {"Normal full forward (reverse arm 6.6217)", "Mid gear (reverse arm 7.6217)",
                                "Normal full reverse (reverse arm 8.6217)"})
        EXPECT_NE(gear.find(caption), std::string::npos) << caption;
    const std::string diagrams = pages(3, 4);
    for (const char* caption : {"Sine diagram", "Oval diagram", "Steam diagram", "Port events diagram"})
        EXPECT_NE(diagrams.find(caption), std::string::npos) << caption;
    for (int p = 1; p <= kReportPages; ++p) {
        EXPECT_NE(text.find("Page " + std::to_string(p) + " of " + std::to_string(kReportPages)), std::string::npos) << p;
    }
}

// Rendered pages: ink on every page, none in the outer margin (nothing
// runs off the paper), and the gear pictures not empty.
TEST_F(ReportExportTest, RenderedPagesKeepTheirInkInsideTheMargins) {
    test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("letter.pdf"));
    ReportExport exporter(nullptr, g);
    exporter.paper = Paper::Letter;
    ASSERT_TRUE(exporter.WriteFile(file));
    EXPECT_NE(test::Poppler(QStringLiteral("pdfinfo"), {file}).find("(letter)"), std::string::npos);
    const QString prefix = QString::fromStdString(dir.File("page"));
    test::Poppler(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("48"), QStringLiteral("-png"), file, prefix});
    for (int p = 1; p <= kReportPages; ++p) {
        const QImage page = QImage(prefix + QStringLiteral("-%1.png").arg(p)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(page.isNull()) << p;
        EXPECT_EQ(page.width(), 408); // 8.5 inches at 48 dots
        int ink = 0, outside = 0;
        constexpr int kEdge = 18; // 0.375 inch
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) > 200) continue;
                ++ink;
                if (x < kEdge || y < kEdge || x >= page.width() - kEdge || y >= page.height() - kEdge) ++outside;
            }
        }
        EXPECT_GT(ink, 500) << "page " << p;
        EXPECT_EQ(outside, 0) << "page " << p;
    }
}

TEST_F(ReportExportTest, TheMenuCommandWritesTheFileChosenAndNothingOnCancel) {
    test::TempDir dir;
    ReportExport exporter(nullptr, g);
    QString chosen;
    exporter.chooseFile = [&chosen] { return chosen; };
    exporter.ExportReport(); // cancelled
    EXPECT_TRUE(dir.Names().empty());
    // The design as it is when the command is chosen, not as it was when
    // the window was made: renamed, with a shorter normal travel (mid gear
    // stays at 7.621721).
    g.designName = "Menu design";
    g.frame.revArmToCentNorm = 0.8f;
    chosen = QString::fromStdString(dir.File("chosen.pdf"));
    exporter.ExportReport();
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"chosen.pdf"});
    // The file is this design's whole report.
    const std::string info = test::Poppler(QStringLiteral("pdfinfo"), {chosen});
    EXPECT_NE(info.find("Pages:           " + std::to_string(kReportPages)), std::string::npos) << info;
    const std::string text = test::Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), chosen, QStringLiteral("-")});
    EXPECT_NE(text.find("Design: Menu design"), std::string::npos);
    EXPECT_NE(text.find("Mid gear at reverse arm 7.621721; normal travel \xC2\xB1" "0.8,"), std::string::npos);
    EXPECT_NE(text.find("Normal full forward (reverse arm 6.8217)"), std::string::npos);
}

// The figures are built on a worker: the progress dialog with Cancel is up
// meanwhile and the window's timers keep running; Cancel writes nothing.
TEST_F(ReportExportTest, BuildsOnAWorkerWithProgressAndCancel) {
    test::TempDir dir;
    ReportExport exporter(nullptr, g);
    std::vector<QString> messages;
    exporter.showError = [&messages](const QString& m) { messages.push_back(m); };
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "to the end");
        int shown = 0;
        int ticks = 0;
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        exporter.progressShown = [&](QProgressDialog& p) {
            ++shown;
            ticks = 0;
            timer.start();
            EXPECT_TRUE(p.isVisible());
            EXPECT_EQ(p.objectName(), "ReportProgress");
            auto* button = p.findChild<QPushButton*>();
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), "Cancel");
            if (cancel) button->click();
        };
        const QString file = QString::fromStdString(dir.File(cancel ? "cancelled.pdf" : "built.pdf"));
        EXPECT_EQ(exporter.WriteFile(file), !cancel);
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(QFile::exists(file), !cancel);
        if (!cancel) EXPECT_GT(ticks, 3); // the event loop ran while the worker built
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"built.pdf"});
}

TEST_F(ReportExportTest, AFileThatCannotBeWrittenSaysSo) {
    ReportExport exporter(nullptr, g);
    QString error;
    exporter.showError = [&error](const QString& m) { error = m; };
    EXPECT_FALSE(exporter.WriteFile(QStringLiteral("/nonexistent-folder/x.pdf")));
    EXPECT_NE(error.indexOf(QStringLiteral("/nonexistent-folder/x.pdf")), -1) << error.toStdString();
}

} // namespace
} // namespace vx
