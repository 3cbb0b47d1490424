// The frame's advance: the steam display's phase colours and exhaust beat
// volumes, the frame's list of sounds, and a whole frame's steps against the
// picture it leaves to draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/workspace/defaults.h"
#include "model/workspace/frame_advance.h"
#include "tests/kit/designs.h"

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

// The sounds of a running gear over 720 frames at the default step, with
// the steam display and the error beep on, as a list per frame: what the
// window plays (recorded from the window's frames before the advance was
// split from the drawing).
struct Heard {
    std::vector<int> playFrames;
    int exhaust = 0, error = 0, beeps = 0;
    std::vector<std::uint16_t> volumes;
};
Heard Listen(GearState& g) {
    Heard h;
    for (int k = 0; k < 720; ++k) {
        const FrameSounds sounds = AdvanceFrame(g);
        for (const FrameSound& s : sounds.Items()) {
            switch (s.kind) {
            case FrameSound::Kind::Play:
                h.playFrames.push_back(k);
                (s.file == "Exhaust.wav" ? h.exhaust : h.error) += 1;
                break;
            case FrameSound::Kind::Volume: h.volumes.push_back(s.volume); break;
            case FrameSound::Kind::Beep: h.beeps += static_cast<int>(s.beeps); break;
            }
        }
    }
    return h;
}

TEST(FrameSoundsOfARunningGear, ExhaustBeatsErrorSoundsAndGuardBeeps) {
    {
        SCOPED_TRACE("default design");
        auto g = test::StartedDesign();
        g->steamDisplayOn = true;
        const Heard h = Listen(*g);
        ASSERT_EQ(h.exhaust, 40);
        EXPECT_EQ(h.error, 0);
        for (std::size_t i = 0; i < h.playFrames.size(); ++i) EXPECT_EQ(h.playFrames[i], 9 + 18 * static_cast<int>(i));
        EXPECT_EQ(std::count(h.volumes.begin(), h.volumes.end(), 0x2800), 20);
        EXPECT_EQ(std::count(h.volumes.begin(), h.volumes.end(), 0x4000), 19);
        EXPECT_EQ(h.beeps, 0);
    }
    {
        SCOPED_TRACE("a forward rod too short: the error sound every cycle");
        auto g = test::StartedDesign();
        g->steamDisplayOn = true;
        CommitDimension(*g, 8, 1.0f);
        FindMidGear(*g);
        const Heard h = Listen(*g);
        EXPECT_EQ(h.exhaust, 0);
        ASSERT_EQ(h.error, 34);
        for (std::size_t i = 0; i < h.playFrames.size(); ++i) EXPECT_EQ(h.playFrames[i], 9 + 21 * static_cast<int>(i));
    }
    {
        SCOPED_TRACE("a zoom that flattens the passages: a beep for every guarded dot");
        auto g = test::StartedDesign();
        g->steamDisplayOn = true;
        g->view.zoom = 0.5f;
        EXPECT_EQ(Listen(*g).beeps, 1075);
        g->errorBeepOn = false;
        EXPECT_EQ(Listen(*g).beeps, 0);
    }
}

} // namespace
} // namespace vx
