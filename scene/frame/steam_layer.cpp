#include "scene/frame/steam_layer.h"

#include <algorithm>
#include <cmath>

#include "model/view.h"
#include "platform/random.h"
#include "platform/sound.h"

namespace vx {
namespace {

// No region draws more dots than this, whatever the zoom: enough to fill
// any region of the picture several times over.
constexpr long long kMaxDots = 1 << 21;

int Count(double v) { return static_cast<int>(std::clamp<long long>(Nearest(v), 0, kMaxDots)); }

struct Steam {
    GearState& g;
    Canvas& c;
    Random& rnd;
    Sound* sound;

    ScreenPoint C(int k) const { return g.cylOutline[static_cast<std::size_t>(k)]; }
    ScreenPoint V(int k) const { return g.valveOutline[static_cast<std::size_t>(k)]; }
    ScreenPoint P4() const { return {g.piv.sx[4], g.piv.sy[4]}; }

    // A span of `size` pixels from `start`, in 64 bits so no corner of the
    // picture overflows; empty when size <= 0.
    static long long Span(std::int32_t from, std::int32_t to) { return static_cast<long long>(to) - from; }

    // Random(n): 0 for n < 1, and the generator moves on either way.
    int R(long long n) { return rnd.Next(n >= 1 && n <= INT32_MAX ? static_cast<int>(n) : 0); }

    void Dot(long long x, long long y, Rgb col) {
        if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return;
        c.SetPixel(static_cast<int>(x), static_cast<int>(y), col);
    }

    // Dots in x in [x0, x1), y in [y0, y1); an empty region draws nothing.
    void Box(std::int32_t x0, std::int32_t x1, std::int32_t y0, std::int32_t y1, int count, Rgb col) {
        const long long w = Span(x0, x1), h = Span(y0, y1);
        if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return;
        for (int i = 0; i < count; ++i) {
            const int x = R(w); // x drawn first, then y
            Dot(x0 + x, y0 + R(h), col);
        }
    }

    // Dots in x in [x0, x0 + w), y in (y0 - h, y0]: the columns that rise
    // from a base line (supply pipe, chimney).
    void Column(std::int32_t x0, long long w, std::int32_t y0, long long h, int count, Rgb col) {
        if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return;
        for (int i = 0; i < count; ++i) {
            const int x = R(w); // x drawn first, then y
            Dot(x0 + x, y0 - R(h), col);
        }
    }

    // The passages and the plume divide by a pixel height h. Their dots are
    // drawn whatever their width (Random of a width below 1 is 0); a height
    // below 0 (an outline turned inside out) draws nothing. A height of 0 is
    // taken as 1, with a beep for every dot while the error beep option is
    // on: the division guard.
    bool Drawable(long long h, long long w, int count) const {
        return count > 0 && w <= INT32_MAX && h >= 0 && h <= INT32_MAX / 3;
    }
    long long Divisor(long long h) {
        if (h != 0) return h;
        if (g.errorBeepOn && sound != nullptr) sound->Beep();
        return 1;
    }

    // A port passage, slanting from the seat down to the bore: each dot at
    // a random depth r, on the slant from `top` at the seat by `slant` at
    // the bore, and a random distance across it, to the right for the front
    // passage and to the left for the rear one.
    void Passage(int count, Rgb col, long long w, int top, double slant, bool front) {
        const long long h = Span(C(17).y, C(5).y);
        if (!Drawable(h, w, count)) return;
        for (int i = 0; i < count; ++i) {
            const int r = R(h);
            const double f = static_cast<double>(r) / static_cast<double>(Divisor(h));
            const long long across = R(w);
            Dot(static_cast<long long>(Nearest(slant * f)) + top + (front ? across : -across),
                static_cast<long long>(C(17).y) + r, col);
        }
    }
    void FrontPassage(int count, Rgb col) {
        Passage(count, col, Span(C(19).x, C(8).x), C(20).x, static_cast<double>(C(19).x) - C(20).x, true);
    }
    void RearPassage(int count, Rgb col) {
        Passage(count, col, Span(C(5).x, C(18).x), C(17).x, static_cast<double>(C(18).x) - C(17).x, false);
    }

    // Plume cone above the chimney, widening as it rises.
    void Plume(int count, Rgb col) {
        const long long h = Span(C(0).y, C(2).y);
        const long long w = Span(C(0).x, C(13).x);
        if (!Drawable(h, w, count)) return;
        for (int i = 0; i < count; ++i) {
            const int r = R(3 * h);
            const double f = static_cast<double>(r) / static_cast<double>(Divisor(h));
            const double wf = static_cast<double>(w) * f;
            const long long x = Nearest(R(Nearest(2 * wf)) + static_cast<double>(C(21).x) - wf);
            Dot(x, 2LL * C(0).y - C(2).y - r, col);
        }
    }

    void LiveSteam() {
        const double zoom = g.view.zoom;
        const int pipe = Count(5.4 * zoom), chest = Count(10.8 * zoom);
        Column(C(0).x, Span(C(0).x, C(13).x), C(0).y, Span(P4().y, C(2).y), pipe, colors::kRed);
        Box(C(1).x, C(12).x, C(0).y, V(6).y, chest, colors::kRed);
        if (C(1).x < V(6).x) Box(C(1).x, V(6).x, V(6).y, C(2).y, chest, colors::kRed);
        if (V(7).x < C(12).x) Box(V(7).x, C(12).x, V(6).y, C(2).y, chest, colors::kRed);
    }

    // Density of one end after this frame's admission or exhaust; the dot
    // count of that end.
    int UpdateDensity(SteamEnd& end, Rgb col, float steamOpening, float exhaustOpening) {
        const double s = g.motion.tickStep;
        double d = end.density;
        if (col == colors::kRed) d = static_cast<float>(d + s * 50 * (static_cast<double>(steamOpening) + 0.1));
        else if (col == colors::kBlue) d = static_cast<float>(d + -s * 60 * static_cast<double>(exhaustOpening));
        if (!(d >= kMinSteamDensity)) d = kMinSteamDensity;
        if (d > kMaxSteamDensity) d = kMaxSteamDensity;
        end.density = static_cast<float>(d);
        return Count(static_cast<double>(end.density) * g.view.zoom / 18.5);
    }

    void Exhaust(int n, Rgb col) {
        Box(V(11).x, V(9).x, V(10).y, C(2).y, n / 10, col);
        const long long drop = Span(P4().y, C(2).y);
        const long long bottom = std::clamp<long long>(static_cast<long long>(C(2).y) + drop, INT32_MIN, INT32_MAX);
        Box(C(15).x, C(22).x, C(2).y, static_cast<std::int32_t>(bottom), n / 15, col);
        Column(C(13).x, Span(C(0).x, C(13).x), C(0).y, Span(C(0).y, C(2).y), n / 20, col);
        Plume(n / 6, col);
    }

    void Legend() {
        const ScreenPoint b = C(6);
        struct Row {
            const char* text;
            Rgb color;
            int dx, dy;
        };
        static constexpr Row kRows[] = {{"ADMISSION", colors::kRed, -40, 5},
                                        {"EXPANSION", colors::kFuchsia, 40, 5},
                                        {"EXHAUST", colors::kBlue, -40, 17},
                                        {"COMPRESSION", colors::kGreen, 24, 17}};
        for (const Row& r : kRows) {
            TextStyle style;
            style.color = r.color;
            c.Text(static_cast<int>(std::clamp<long long>(static_cast<long long>(b.x) + r.dx, INT32_MIN, INT32_MAX)),
                   static_cast<int>(std::clamp<long long>(static_cast<long long>(b.y) + r.dy, INT32_MIN, INT32_MAX)),
                   r.text, style);
        }
    }

    // The exhaust beat of one end: armed while its port is closed, played
    // once at the opening, at the other end's stored level.
    void ExhaustBeat(SteamEnd& end, const SteamEnd& other, float exhaustOpening) {
        if (!(exhaustOpening >= 0) && g.locatorDimension == 0) end.exhaustArmed = true;
        if (exhaustOpening > 0 && end.exhaustArmed) {
            end.exhaustArmed = false;
            end.soundLevel = end.density;
            const std::uint16_t volume = ExhaustVolume(Nearest(other.soundLevel));
            if (sound == nullptr) return;
            if (volume != 0) sound->SetWaveVolume(volume, volume);
            sound->Play("Exhaust.wav");
        }
    }

    void Frame() {
        rnd.Reseed();
        LiveSteam();

        const PortOpenings& p = g.ports;
        SteamEnd& front = g.display.steam[0];
        SteamEnd& rear = g.display.steam[1];

        Rgb col = StepPhaseColor(front, colors::kBlack, p.frontSteamOpening, p.frontExhaustOpening);
        const int nF = UpdateDensity(front, col, p.frontSteamOpening, p.frontExhaustOpening);
        if (V(4).x < C(7).x) Box(V(4).x, C(7).x, C(5).y, C(6).y, nF, col);
        FrontPassage(nF / 8, col);
        Box(C(21).x, C(10).x, C(2).y, C(20).y, nF / 20, col);

        col = StepPhaseColor(rear, col, p.rearSteamOpening, p.rearExhaustOpening);
        const int nR = UpdateDensity(rear, col, p.rearSteamOpening, p.rearExhaustOpening);
        if (C(5).x < V(1).x) Box(C(5).x, V(1).x, C(5).y, C(6).y, nR, col);
        RearPassage(nR / 8, col);
        Box(C(3).x, C(16).x, C(2).y, C(17).y, nR / 20, col);

        Exhaust(nF, p.frontExhaustOpening > 0 ? colors::kBlue : colors::kWhite);
        Exhaust(nR, p.rearExhaustOpening > 0 ? colors::kBlue : colors::kWhite);

        if (g.screenDataOn) Legend();

        ExhaustBeat(front, rear, p.frontExhaustOpening);
        ExhaustBeat(rear, front, p.rearExhaustOpening);
    }
};

} // namespace

std::uint16_t ExhaustVolume(int v) {
    struct Row {
        int upTo;
        std::uint16_t level;
    };
    static constexpr Row kRows[] = {{100, 0x0700},  {200, 0x1400},  {400, 0x2800},  {600, 0x4000},
                                    {800, 0x5000},  {1000, 0x6000}, {1200, 0x7000}, {2001, 0x8000}};
    if (v < 24) return 0;
    for (const Row& r : kRows)
        if (v <= r.upTo) return r.level;
    return 0;
}

Rgb StepPhaseColor(SteamEnd& end, Rgb color, float steamOpening, float exhaustOpening) {
    if (steamOpening > 0) {
        end.phase = SteamPhase::Admitted;
        color = colors::kRed;
    } else if (end.phase == SteamPhase::Admitted) {
        color = colors::kFuchsia;
    }
    if (exhaustOpening > 0) {
        end.phase = SteamPhase::Exhausted;
        color = colors::kBlue;
    } else if (end.phase == SteamPhase::Exhausted) {
        color = colors::kGreen;
    }
    return color;
}

void DrawSteamLayer(GearState& g, Canvas& c, const FrameServices& s) {
    static LcgRandom fallback;
    Steam{g, c, s.random != nullptr ? *s.random : fallback, s.sound}.Frame();
}

} // namespace vx
