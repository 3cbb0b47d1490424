// The events as CSV and as a table: missing events, differences, errors.
#include <gtest/gtest.h>

#include "model/analysis/valve_events_text.h"

#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace vx {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The last n comma-separated fields of a line.
std::string Tail(const std::string& line, int n) {
    std::size_t at = line.size();
    for (int i = 0; i < n && at != std::string::npos && at > 0; ++i) at = line.rfind(',', at - 1);
    return at == std::string::npos ? line : line.substr(at + 1);
}

PositionEvents Sample() {
    PositionEvents e;
    e.position = 6.5f;
    e.forward = false;
    e.front.cutOffAngle = 100.25f;
    e.front.cutOff = 60.5f;
    e.rear.cutOffAngle = 280.125f;
    e.rear.cutOff = 58.0f;
    e.front.lead = 0.0125f;
    e.rear.lead = 0.0025f;
    e.front.steamOpenings = 1;
    e.rear.steamOpenings = 2;
    e.valveTravel = 0.5f;
    e.dieSlip = 0.25f;
    return e;
}

TEST(ValveEventsText, CsvRowsFrontThenRearWithEmptyFieldsForMissingEvents) {
    const PositionEvents e = Sample();
    EXPECT_EQ(ValveEventsCsv({&e, 1}),
              std::string(kValveEventsCsvHeader) +
                  "6.500000,reverse,front,,100.2500,,,,60.5000,,,0.01250,0.00000,0.00000,0.50000,0.25000,1,0,,yes\n"
                  "6.500000,reverse,rear,,280.1250,,,,58.0000,,,0.00250,0.00000,0.00000,0.50000,0.25000,2,0,,yes\n");
    const float offset = -0.5f;
    EXPECT_EQ(Tail(Lines(ValveEventsCsv({&e, 1}, {&offset, 1})).at(1), 4), "1,0,-0.5,yes");
    PositionEvents failed = e;
    failed.failedSolves = 3;
    EXPECT_EQ(Tail(Lines(ValveEventsCsv({&failed, 1})).at(2), 2), ",no");
    PositionEvents nan = e;
    nan.rear.lead = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(EventsFinite(nan));
    EXPECT_EQ(Tail(Lines(ValveEventsCsv({&nan, 1})).at(2), 2), ",no");
    EXPECT_NE(ValveEventsErrorText(nan).find("not a finite number"), std::string::npos);
}

TEST(ValveEventsText, TableGivesDifferencesWhereBothEndsHaveTheEvent) {
    std::string t;
    AppendValveEventsTable(t, Sample(), 7.0f);
    EXPECT_NE(t.find("Reverse arm 6.500000 (mid gear -0.500000), running in reverse\n"), std::string::npos) << t;
    EXPECT_NE(t.find("cut-off, %                 60.5000     58.0000      2.5000\n"), std::string::npos) << t;
    EXPECT_NE(t.find("release, %                       -           -           -\n"), std::string::npos) << t;
    EXPECT_NE(t.find("lead                       0.01250     0.00250     0.01000\n"), std::string::npos) << t;
    EXPECT_NE(t.find("steam openings                   1           2\n"), std::string::npos) << t;
    EXPECT_EQ(t.find("does not close"), std::string::npos);
}

TEST(ValveEventsText, ErrorsInPlainWords) {
    PositionEvents e = Sample();
    EXPECT_EQ(ValveEventsErrorText(e), "");
    e.failedSolves = 3;
    e.firstCause = GeometryCause::MainRod;
    e.firstCauseAngle = 90;
    EXPECT_EQ(ValveEventsErrorText(e), "reverse arm 6.500000: the linkage does not close at 3 of the angles solved; "
                                       "first: The main rod cannot reach the crosshead at 90.0\xC2\xB0");
    std::string t;
    AppendValveEventsTable(t, e, 7.0f);
    EXPECT_NE(t.find("does not close"), std::string::npos);
}

} // namespace
} // namespace vx
