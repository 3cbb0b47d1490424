// The measurement file of the valve setting: what it reads (columns in any
// order, names in any case, optional weight and note, blank and "#" lines),
// the writer read back to the same values, and every kind of bad line a
// usage error that names the line.
#include <gtest/gtest.h>

#include <string>

#include "data/measurement_file.h"
#include "tests/kit/decimal_comma_locale.h"

namespace vx {
namespace {

TEST(MeasurementFile, ReadsColumnsInAnyOrderWithOptionalOnes) {
    const MeasurementRead r = ReadMeasurements("# tram marks, No. 4\n"
                                               "UNIT,value,event,end,direction,offset,note\n"
                                               "\n"
                                               "percent,42.5,cutOff,front,forward,-0.5,\"marked, twice\"\r\n"
                                               "length,0.012,LEAD,Rear,,-1,\n"
                                               "deg,77.25,release,rear,reverse,0.75\n");
    ASSERT_TRUE(r.Ok()) << r.error;
    ASSERT_EQ(r.rows.size(), 3u);
    const Measurement& a = r.rows[0];
    EXPECT_EQ(a.line, 4);
    EXPECT_EQ(a.offset, -0.5);
    EXPECT_EQ(a.direction, EventDirection::Forward);
    EXPECT_FALSE(a.rear);
    EXPECT_EQ(a.event, MeasuredEvent::CutOff);
    EXPECT_EQ(a.unit, MeasureUnit::Percent);
    EXPECT_EQ(a.value, 42.5);
    EXPECT_FALSE(a.weight);
    EXPECT_EQ(a.note, "marked, twice");
    EXPECT_EQ(r.rows[1].direction, EventDirection::Auto);
    EXPECT_TRUE(r.rows[1].rear);
    EXPECT_EQ(r.rows[1].event, MeasuredEvent::Lead);
    EXPECT_EQ(r.rows[2].unit, MeasureUnit::Degrees);
    EXPECT_EQ(r.rows[2].line, 6);
}

TEST(MeasurementFile, WrittenFileReadsBackTheSameValues) {
    std::vector<Measurement> rows(3);
    rows[0] = {0, -0.75, EventDirection::Auto, false, MeasuredEvent::Admission, MeasureUnit::Percent, 0.4375, {}, ""};
    rows[1] = {0, 1, EventDirection::Reverse, true, MeasuredEvent::Lead, MeasureUnit::Length, -0.01336, 0.001,
               "feeler \"0.013\", tight"};
    rows[2] = {0, 0.25, EventDirection::Forward, false, MeasuredEvent::Compression, MeasureUnit::Degrees, 305.0358,
               0.25, ""};
    // Under a decimal-comma locale too: the file always has points.
    test::DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << test::DecimalCommaLocale::kWhy;
    const std::string text = MeasurementsCsv(rows);
    EXPECT_EQ(text.find("0,4375"), std::string::npos) << text;
    const MeasurementRead r = ReadMeasurements(text);
    ASSERT_TRUE(r.Ok()) << r.error;
    ASSERT_EQ(r.rows.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(r.rows[i].offset, rows[i].offset);
        EXPECT_EQ(r.rows[i].direction, rows[i].direction);
        EXPECT_EQ(r.rows[i].rear, rows[i].rear);
        EXPECT_EQ(r.rows[i].event, rows[i].event);
        EXPECT_EQ(r.rows[i].unit, rows[i].unit);
        EXPECT_EQ(r.rows[i].value, rows[i].value);
        EXPECT_EQ(r.rows[i].weight, rows[i].weight);
        EXPECT_EQ(r.rows[i].note, rows[i].note);
        EXPECT_EQ(r.rows[i].line, static_cast<int>(i) + 2);
    }
}

TEST(MeasurementFile, EachBadLineIsNamed) {
    const std::string header = "offset,direction,end,event,value,unit,weight\n";
    const std::string good = "-1,forward,front,cutOff,69.1,percent,\n";
    struct Case {
        std::string text;
        std::string expected; // the start of the message
    };
    const Case cases[] = {
        {"offset,direction,end,event,value\n" + good, "line 1: the header has no column \"unit\""},
        {"offset,direction,end,event,value,unit,weigth\n", "line 1: unknown column \"weigth\""},
        {"offset,offset,end,event,value,unit\n", "line 1: the column \"offset\" is named twice"},
        {"", "line 1: no header"},
        {header + good + "-1,forward,front,cutof,69.1,percent,\n", "line 3: unknown event \"cutof\""},
        {header + "-1,forward,front,cutOff,69.1,points,\n", "line 2: unknown unit \"points\""},
        {header + "-1,forward,middle,cutOff,69.1,percent,\n", "line 2: unknown end \"middle\""},
        {header + "-1,sideways,front,cutOff,69.1,percent,\n", "line 2: unknown direction \"sideways\""},
        {header + good + good + "-1,forward,front,cutOff,nan,percent,\n", "line 4: the value \"nan\" is not a finite"},
        {header + "-1,forward,front,cutOff,inf,percent,\n", "line 2: the value \"inf\" is not a finite"},
        {header + "-1,forward,front,cutOff,1e999,percent,\n", "line 2: the value \"1e999\" is not a finite"},
        {header + "-1,forward,front,cutOff,0x10,percent,\n", "line 2: the value \"0x10\" is not a finite"},
        {header + "-1,forward,front,cutOff,,percent,\n", "line 2: the value \"\" is not a finite"},
        {header + "nan,forward,front,cutOff,69.1,percent,\n", "line 2: the offset \"nan\" is not a finite"},
        {header + "-1,forward,front,cutOff,69.1,percent,0\n", "line 2: the weight \"0\" is not a finite number above 0"},
        {header + "-1,forward,front,cutOff,69.1,percent,-1\n", "line 2: the weight \"-1\""},
        {header + "-1,forward,front,lead,0.01,percent,\n", "line 2: a lead is measured as a length"},
        {header + "-1,forward,front,cutOff,69.1\n", "line 2: has 5 fields where the header names 7 columns"},
        {header + "-1,forward,front,cutOff,69.1,percent,,x\n", "line 2: has 8 fields"},
        {header + "-1,forward,front,cutOff,69.1,percent,\"open\n", "line 2: a quoted field is not closed"},
        {header + std::string("-1,forward,front,cutOff,6\0" "9,percent,\n", sizeof "-1,forward,front,cutOff,6\0" "9,percent,\n" - 1), "line 2: holds a NUL byte"},
    };
    for (const Case& c : cases) {
        const MeasurementRead r = ReadMeasurements(c.text);
        EXPECT_FALSE(r.Ok()) << c.text;
        EXPECT_TRUE(r.rows.empty());
        EXPECT_EQ(r.error.rfind(c.expected, 0), 0u) << "got: " << r.error << "\nfor: " << c.text;
    }
}

} // namespace
} // namespace vx
