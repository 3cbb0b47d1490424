// The steam display through the recording canvas and the recording sound,
// each frame its advance and then its picture: the phase colours over a
// revolution, densities and dot counts, region bounds with a seeded
// generator, and the exhaust beat.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "scene/frame/frame_renderer.h"
#include "scene/frame/steam_layer.h"
#include "model/workspace/defaults.h"
#include "tests/kit/started_gear.h"
#include "model/workspace/motion.h"
#include "model/workspace/frame_advance.h"
#include "platform/random.h"
#include "platform/recording_canvas.h"
#include "platform/recording_sound.h"
#include "platform/sound.h"

namespace vx {
namespace {

struct Dot {
    int x, y;
    Rgb color;
};

std::vector<Dot> Dots(const RecordingCanvas& c) {
    std::vector<Dot> out;
    for (const auto& op : c.Ops())
        if (op.kind == RecordingCanvas::Kind::Pixel) out.push_back({op.a[0], op.a[1], op.color});
    return out;
}

char Letter(Rgb c) {
    if (c == colors::kBlack) return 'k';
    if (c == colors::kRed) return 'r';
    if (c == colors::kFuchsia) return 'f';
    if (c == colors::kBlue) return 'b';
    if (c == colors::kGreen) return 'g';
    return '?';
}

// One flat outline: every point at 0 except those a case sets, so that
// all regions but the one under test are empty.
class SteamRegions : public ::testing::Test {
protected:
    void SetUp() override {
        g->view.zoom = 18.5f; // dot count of an end = its density
        g->motion.tickStep = 1;
        g->ports = PortOpenings{0, 1, -1, -1, -1}; // front admitting: density 20 + 50 * 1.1 = 75
        g->screenDataOn = false;
        // The passages and the plume divide by a height and draw even when
        // it is 0: turned inside out they stay empty unless a case sets them.
        C(17) = {0, 1000};
        C(2) = {0, -1};
    }
    ScreenPoint& C(int k) { return g->cylOutline[static_cast<std::size_t>(k)]; }
    ScreenPoint& V(int k) { return g->valveOutline[static_cast<std::size_t>(k)]; }
    // One frame of the display: its advance (the sounds played), then its
    // picture.
    std::vector<Dot> Draw() {
        FrameSounds sounds;
        StepSteamDisplay(*g, sounds);
        PlayFrameSounds(sounds.Items(), sound);
        canvas.Reset();
        DrawSteamLayer(*g, canvas, FrameServices{&random});
        return Dots(canvas);
    }
    std::unique_ptr<GearState> g = std::make_unique<GearState>();
    RecordingCanvas canvas;
    LcgRandom random{12345};
    RecordingSound sound;
};

TEST_F(SteamRegions, EmptyOutlineDrawsNothing) {
    EXPECT_TRUE(Draw().empty());
    EXPECT_EQ(g->display.steam[0].density, 75);
    EXPECT_EQ(sound.Count(RecordingSound::Kind::Beep), 0); // nothing due, nothing guarded
}

TEST_F(SteamRegions, ChestAboveTheValve) {
    C(1) = {10, 0};
    C(12) = {20, 0};
    C(0) = {0, 30};
    V(6) = {0, 40};
    const auto dots = Draw();
    ASSERT_EQ(dots.size(), 200u); // nearest(10.8 * 18.5)
    LcgRandom replay{12345};
    for (const Dot& d : dots) {
        EXPECT_TRUE(d.x >= 10 && d.x < 20 && d.y >= 30 && d.y < 40) << d.x << "," << d.y;
        EXPECT_EQ(d.color, colors::kRed);
        // Each dot takes its x from the generator first, then its y.
        const int x = 10 + replay.Next(10);
        EXPECT_EQ(d.x, x);
        EXPECT_EQ(d.y, 30 + replay.Next(10));
    }
}

TEST_F(SteamRegions, CylinderInFrontOfThePistonHasTheDensitysCount) {
    V(4) = {100, 0};
    C(7) = {150, 0};
    C(5) = {0, 200};
    C(6) = {0, 240};
    const auto dots = Draw();
    ASSERT_EQ(dots.size(), 75u);
    for (const Dot& d : dots) {
        EXPECT_TRUE(d.x >= 100 && d.x < 150 && d.y >= 200 && d.y < 240) << d.x << "," << d.y;
        EXPECT_EQ(d.color, colors::kRed);
    }
    // Two more frames: 75 + 55 + 55 = 185 dots.
    Draw();
    EXPECT_EQ(Draw().size(), 185u);
    // A piston at or beyond the front cover leaves the region empty.
    V(4) = {150, 0};
    EXPECT_TRUE(Draw().empty());
}

TEST_F(SteamRegions, FrontPassageSlantsFromTheSeatToTheBore) {
    C(5) = {0, 100};
    C(17) = {0, 60};
    C(8) = {50, 0};
    C(19) = {30, 0};
    C(20) = {10, 0};
    std::vector<Dot> dots;
    for (const Dot& d : Draw())
        if (d.x != 0) dots.push_back(d); // the rear passage, 0 pixels wide here, keeps to x 0
    ASSERT_EQ(dots.size(), 9u); // 75 div 8
    for (const Dot& d : dots) {
        const int r = d.y - 60;
        ASSERT_TRUE(r >= 0 && r < 40) << d.y;
        const int lineStart = 10 + static_cast<int>(std::nearbyint(20.0 * r / 40));
        EXPECT_TRUE(d.x >= lineStart && d.x < lineStart + 20) << d.x << "," << d.y;
    }
}

// A passage or plume 0 pixels high is drawn as 1 pixel high, with one beep
// for every dot while the error beep option is on, however wide it is.
TEST_F(SteamRegions, ZeroHeightDivisionGuardBeepsOncePerDot) {
    const struct {
        const char* region;
        bool plume;
        int width;
    } cases[] = {{"passages", false, 20}, {"passages", false, 0}, {"plume", true, 20}, {"plume", true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.region) + " " + std::to_string(c.width) + " wide");
        std::size_t dotsWithBeeps = 0;
        for (bool beepOn : {true, false}) {
            g = std::make_unique<GearState>();
            SetUp();
            g->errorBeepOn = beepOn;
            if (c.plume) {
                C(0) = {0, 50};
                C(2) = {0, 50};
                C(13) = {c.width, 0};
                g->piv.sy[4] = 50; // no supply pipe
            } else {
                C(5) = {0, 100};
                C(17) = {0, 100};
                C(8) = {c.width, 0};
                C(18) = {c.width, 0};
            }
            const int before = sound.Count(RecordingSound::Kind::Beep);
            const auto dots = Draw();
            EXPECT_GT(dots.size(), 0u);
            const int row = c.plume ? 50 : 100; // depth 0 of a one-pixel height
            for (const Dot& d : dots) EXPECT_EQ(d.y, row);
            EXPECT_EQ(sound.Count(RecordingSound::Kind::Beep) - before, beepOn ? static_cast<int>(dots.size()) : 0);
            if (beepOn) dotsWithBeeps = dots.size();
            else EXPECT_EQ(dots.size(), dotsWithBeeps);
        }
    }
}

TEST_F(SteamRegions, DensityHeldWithinItsBounds) {
    g->ports = PortOpenings{0, 1000, -1, -1, 1000}; // front admitting hard, rear exhausting hard
    g->motion.tickStep = 45;
    for (int i = 0; i < 3; ++i) Draw();
    EXPECT_EQ(g->display.steam[0].density, kMaxSteamDensity);
    EXPECT_EQ(g->display.steam[1].density, kMinSteamDensity);
    g->ports.frontSteamOpening = std::nanf("");
    Draw();
    EXPECT_GE(g->display.steam[0].density, kMinSteamDensity);
    EXPECT_LE(g->display.steam[0].density, kMaxSteamDensity);
}

TEST_F(SteamRegions, SameSeedSameDots) {
    C(1) = {10, 0};
    C(12) = {200, 0};
    C(0) = {0, 30};
    V(6) = {0, 140};
    const auto a = Draw();
    const auto b = Draw();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i].x == b[i].x && a[i].y == b[i].y);
}

// The running gear: the front end's colour in front of the piston goes
// black (nothing opened yet), then red, fuchsia, blue, green and round
// again; the exhaust beat sounds once at each end per revolution.
class RunningSteam : public test::StartedGear {
protected:
    void SetUp() override {
        StartedGear::SetUp();
        g.steamDisplayOn = true;
        g.motion.selectedStep = g.motion.tickStep = 1;
    }
    void Frame() {
        canvas.Reset();
        TickModel(g);
        FrameSounds sounds;
        StepSteamDisplay(g, sounds);
        PlayFrameSounds(sounds.Items(), sound);
        DrawSteamLayer(g, canvas, FrameServices{&random});
    }
    RecordingCanvas canvas;
    LcgRandom random{7};
    RecordingSound sound;
};

TEST_F(RunningSteam, FrontColoursOverARevolution) {
    // Start where neither front port is open, so nothing has been seen yet.
    for (g.motion.driverAngle = 0; g.motion.driverAngle < 360; g.motion.driverAngle += 5) {
        TickModel(g);
        g.motion.driverAngle -= 1;
        if (!(g.ports.frontSteamOpening > 0) && !(g.ports.frontExhaustOpening > 0)) break;
    }
    std::string seen;
    for (int frame = 0; frame < 720; ++frame) {
        Frame();
        const auto& c = g.cylOutline;
        for (const Dot& d : Dots(canvas)) {
            if (d.x >= g.valveOutline[4].x && d.x < c[7].x && d.y >= c[5].y && d.y < c[6].y) {
                if (seen.empty() || seen.back() != Letter(d.color)) seen.push_back(Letter(d.color));
                break;
            }
        }
    }
    ASSERT_GE(seen.size(), 6u) << seen;
    EXPECT_EQ(seen[0], 'k') << seen;
    const std::string cycle = "rfbg";
    const auto start = cycle.find(seen[1]);
    ASSERT_NE(start, std::string::npos) << seen;
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_EQ(seen[i], cycle[(start + i - 1) % 4]) << seen;
    EXPECT_NE(seen.find('r'), std::string::npos);
    EXPECT_NE(seen.find('f'), std::string::npos);
    EXPECT_NE(seen.find('b'), std::string::npos);
    EXPECT_NE(seen.find('g'), std::string::npos);
}

TEST_F(RunningSteam, ExhaustBeatTwicePerRevolution) {
    for (float step : {1.0f, 10.0f}) {
        g.motion.tickStep = step;
        const int framesPerTurn = static_cast<int>(360 / step);
        for (int i = 0; i < framesPerTurn; ++i) Frame(); // settle
        sound.Reset();
        for (int i = 0; i < framesPerTurn; ++i) Frame();
        EXPECT_EQ(sound.Count(RecordingSound::Kind::Play), 2) << step;
        for (const auto& call : sound.Calls()) {
            if (call.kind == RecordingSound::Kind::Play) {
                EXPECT_EQ(call.name, "Exhaust.wav");
            } else if (call.kind == RecordingSound::Kind::Volume) {
                EXPECT_EQ(call.left, call.right);
            }
        }
    }
}

// While a dimension is being located the beat is not armed: after the
// locator ends, no beat until a port has closed again.
TEST_F(RunningSteam, NoBeatArmedWhileLocating) {
    for (int i = 0; i < 360; ++i) Frame();
    g.locatorDimension = 2;
    sound.Reset();
    for (int i = 0; i < 360; ++i) Frame();
    EXPECT_LE(sound.Count(RecordingSound::Kind::Play), 2); // at most the beats armed before
    const int before = sound.Count(RecordingSound::Kind::Play);
    for (int i = 0; i < 360; ++i) Frame();
    EXPECT_EQ(sound.Count(RecordingSound::Kind::Play), before);
}

} // namespace
} // namespace vx
