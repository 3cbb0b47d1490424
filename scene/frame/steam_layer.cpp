#include "scene/frame/steam_layer.h"

#include <algorithm>
#include <cmath>

#include "model/workspace/view.h"
#include "model/workspace/frame_advance.h"
#include "platform/random.h"

namespace vx {
namespace {

int Count(double v) { return SteamDotCount(v); }

Rgb ColorOf(SteamColor s) {
    switch (s) {
    case SteamColor::Black: return colors::kBlack;
    case SteamColor::White: return colors::kWhite;
    case SteamColor::Red: return colors::kRed;
    case SteamColor::Fuchsia: return colors::kFuchsia;
    case SteamColor::Blue: return colors::kBlue;
    case SteamColor::Green: break;
    }
    return colors::kGreen;
}

struct Steam {
    const GearState& g;
    Canvas& c;
    Random& rnd;

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
    // taken as 1 (the frame's advance beeps for those dots).
    static bool Drawable(long long h, long long w, int count) { return SteamRegionDrawn(h, w, count); }
    static long long Divisor(long long h) { return h != 0 ? h : 1; }

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

    void Frame() {
        rnd.Reseed();
        LiveSteam();

        const PortOpenings& p = g.ports;
        const FramePicture& f = g.picture;

        Rgb col = ColorOf(f.frontSteam);
        const int nF = f.frontDots;
        if (V(4).x < C(7).x) Box(V(4).x, C(7).x, C(5).y, C(6).y, nF, col);
        FrontPassage(nF / 8, col);
        Box(C(21).x, C(10).x, C(2).y, C(20).y, nF / 20, col);

        col = ColorOf(f.rearSteam);
        const int nR = f.rearDots;
        if (C(5).x < V(1).x) Box(C(5).x, V(1).x, C(5).y, C(6).y, nR, col);
        RearPassage(nR / 8, col);
        Box(C(3).x, C(16).x, C(2).y, C(17).y, nR / 20, col);

        Exhaust(nF, p.frontExhaustOpening > 0 ? colors::kBlue : colors::kWhite);
        Exhaust(nR, p.rearExhaustOpening > 0 ? colors::kBlue : colors::kWhite);

        if (g.screenDataOn) Legend();
    }
};

} // namespace

void DrawSteamLayer(const GearState& g, Canvas& c, const FrameServices& s) {
    static LcgRandom fallback;
    Steam{g, c, s.random != nullptr ? *s.random : fallback}.Frame();
}

} // namespace vx
