// No allocation per tick: after the first revolution, solving the linkage and a
// whole tick (model work and the frame into the reused picture) make no
// operator new call. This program's operator new counts the calls made on
// the calling thread.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "scene/frame/frame_renderer.h"
#include "model/workspace/defaults.h"
#include "model/workspace/motion.h"
#include "model/gear/solver.h"
#include "model/workspace/frame_advance.h"
#include "model/workspace/window_captions.h"
#include "platform/clock.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/random.h"
#include "tests/kit/designs.h"

namespace {
thread_local std::uint64_t tAllocations = 0;

void* Allocate(std::size_t n) {
    ++tAllocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
// The nothrow forms too: every form of operator new that the plain operator
// delete below may free must come from malloc as well (Qt uses them).
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    ++tAllocations;
    return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    ++tAllocations;
    return std::malloc(n ? n : 1);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace vx {
namespace {

TEST(NoAllocationPerTick, SolveLinkageAllocatesNothing) {
    auto g = test::StartedDesign();
    SolveLinkage(*g);
    const std::uint64_t before = tAllocations;
    for (int a = 0; a < 360; a += 7) {
        g->motion.driverAngle = static_cast<float>(a);
        SolveLinkage(*g);
    }
    EXPECT_EQ(tAllocations - before, 0u);
}

TEST(NoAllocationPerTick, ATickAfterTheFirstAllocatesNothing) {
    for (const bool extras : {false, true}) {
        SCOPED_TRACE(extras ? "screen data and steam display on" : "plain");
        auto g = test::StartedDesign();
        g->screenDataOn = extras;
        g->steamDisplayOn = extras;
        QImageCanvas canvas(kFrameWidth, kFrameHeight);
        FixedClock clock("1 Jan 2000", "12:34:56");
        LcgRandom random(1);
        const FrameServices services{&random};
        // A frame as the window runs it: the advance, the captions, the
        // picture.
        const auto frame = [&] {
            AdvanceFrame(*g);
            SetWindowCaptions(*g, g->designName, clock.ShortDate(), clock.LongTime());
            ComposeFrame(*g, canvas, services);
        };
        // The first revolution makes what is kept: every text a turn shows
        // (the cut-off readouts appear after the first cut-off) has been
        // drawn once, and with it its face's glyphs.
        for (int k = 0; k < 36; ++k) frame();
        const std::uint64_t before = tAllocations;
        for (int k = 0; k < 40; ++k) frame();
        EXPECT_EQ(tAllocations - before, 0u);
    }
}

} // namespace
} // namespace vx
