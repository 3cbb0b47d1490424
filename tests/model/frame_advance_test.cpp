// The frame's advance: the steam display's phase colours and exhaust beat
// volumes, the frame's list of sounds, and a whole frame's steps against the
// picture it leaves to draw.
#include <gtest/gtest.h>

#include <memory>

#include "model/defaults.h"
#include "model/workspace/frame_advance.h"

namespace vx {
namespace {

char Letter(SteamColor c) {
    switch (c) {
    case SteamColor::Black: return 'k';
    case SteamColor::Red: return 'r';
    case SteamColor::Fuchsia: return 'f';
    case SteamColor::Blue: return 'b';
    case SteamColor::Green: return 'g';
    case SteamColor::White: break;
    }
    return '?';
}

TEST(SteamPhaseColor, RulesOfOneEnd) {
    struct Step {
        float steam, exhaust;
        char color;
    } steps[] = {{-1, -1, 'k'}, {1, -1, 'r'}, {-1, -1, 'f'}, {-1, -1, 'f'}, {-1, 1, 'b'},
                 {-1, -1, 'g'}, {1, -1, 'r'}, {1, 1, 'b'},   {-1, -1, 'g'}};
    SteamEnd end;
    for (const Step& s : steps)
        EXPECT_EQ(Letter(StepPhaseColor(end, SteamColor::Black, s.steam, s.exhaust)), s.color);
    // The rear end starts from the colour the front end left.
    SteamEnd fresh;
    EXPECT_EQ(StepPhaseColor(fresh, SteamColor::Red, -1, -1), SteamColor::Red);
}

TEST(ExhaustVolume, Table) {
    struct Row {
        int v;
        std::uint16_t level;
    } rows[] = {{23, 0},        {24, 0x0700},   {100, 0x0700},  {101, 0x1400},  {400, 0x2800},
                {401, 0x4000},  {800, 0x5000},  {1000, 0x6000}, {1200, 0x7000}, {1201, 0x8000},
                {2001, 0x8000}, {2002, 0},      {-5, 0}};
    for (const Row& r : rows) EXPECT_EQ(ExhaustVolume(r.v), r.level) << r.v;
}

} // namespace
} // namespace vx
