// vexlin-cli report: a PDF of every page of the report on the paper asked
// for, and the usage errors and failures said as such.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "cli/command_table.h"
#include "scene/report/design_report.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/files.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;

using test::ReadAll;

TEST(ReportCommand, WritesAPdfOnThePaperAsked) {
    test::TempDir dir;
    for (const char* paper : {"a4", "letter", "A4", "Letter"}) { // in any case
        const std::string file = dir.File(std::string(paper) + ".pdf");
        const CliRun r = Cli({"report", "--out", file, "--paper", paper, "--title", "No. 4 rebuilt"});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        EXPECT_EQ(r.out, "");
        const std::string pdf = ReadAll(file);
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
        // Every page, each of the paper's box in points: A4 595 x 842,
        // Letter 612 x 792.
        // The title, in the document's information as UTF-16 (big-endian).
        std::string utf16;
        for (const char c : std::string("No. 4 rebuilt")) utf16 += {'\0', c};
        EXPECT_NE(pdf.find(utf16), std::string::npos) << paper;
        const std::string box = (paper[0] == 'a' || paper[0] == 'A') ? "/MediaBox [0 0 595.000000 842.000000]"
                                                            : "/MediaBox [0 0 612.000000 792.000000]";
        std::size_t pages = 0;
        for (auto at = pdf.find(box); at != std::string::npos; at = pdf.find(box, at + 1)) ++pages;
        EXPECT_EQ(pages, static_cast<std::size_t>(kReportPages)) << paper;
    }
}

TEST(ReportCommand, UsageErrorsAndUnwritableFiles) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"report"}, {"report", "--out"}, {"report", "--out", "x.pdf", "--paper", "a3"}, {"report", "--bogus"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << args.back();
        EXPECT_NE(r.err.find("report"), std::string::npos) << r.err;
    }
    const CliRun r = Cli({"report", "--out", "/nonexistent-folder/x.pdf"});
    EXPECT_EQ(r.code, kExitCannotRun);
    EXPECT_NE(r.err.find("/nonexistent-folder/x.pdf"), std::string::npos) << r.err;
}

} // namespace
} // namespace vx::cli
