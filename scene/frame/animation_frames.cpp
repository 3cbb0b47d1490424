#include "scene/frame/animation_frames.h"

#include <algorithm>
#include <cmath>

#include "model/motion.h"
#include "model/view.h"
#include "platform/gif_writer.h"
#include "platform/null_canvas.h"

namespace vx {
namespace {

float RunningStep(float step) {
    if (!(step >= kMinRunningStep)) return kMinRunningStep; // NaN too
    return step > kMaxRunningStep ? kMaxRunningStep : step;
}

} // namespace

long long TicksPerRevolution(float step) {
    return static_cast<long long>(std::ceil(360.0 / static_cast<double>(RunningStep(step))));
}

void WarmUpRunning(GearState& g, float step, const FrameServices& s) {
    step = RunningStep(step);
    const float start = g.motion.driverAngle;
    g.motion.selectedStep = g.motion.tickStep = step;
    g.motion.running = true;
    // The frames before the pictures only need their effects on the model:
    // draw them nowhere.
    NullCanvas unseen(kFrameWidth, kFrameHeight);
    for (long long k = TicksPerRevolution(step); k > 0; --k) {
        TickModel(g);
        ComposeFrame(g, unseen, s);
    }
    g.motion.driverAngle = start;
}

void RunUpTo(GearState& g, float angle, const FrameServices& s) {
    // The angles the ticks solve from here, found without solving: the
    // first that is `angle` itself, or else the last before passing it.
    const long long ticks = TicksPerRevolution(g.motion.tickStep);
    const double step = RunningStep(g.motion.tickStep);
    const double travel = g.motion.direction == Direction::Fwd
                              ? static_cast<double>(angle) - static_cast<double>(g.motion.driverAngle)
                              : static_cast<double>(g.motion.driverAngle) - static_cast<double>(angle);
    double toGo = std::fmod(travel, 360.0);
    if (toGo < 0) toGo += 360;
    MotionState m = g.motion;
    long long count = 0;
    bool exact = false;
    for (long long k = 0; k < ticks; ++k) {
        if (m.driverAngle == angle) {
            count = k;
            exact = true;
            break;
        }
        AdvanceDriverAngle(m);
    }
    if (!exact) {
        count = 0; // NaN or no room: none
        if (toGo >= 0) count = std::min<long long>(ticks - 1, static_cast<long long>(std::floor(toGo / step)));
    }
    NullCanvas unseen(kFrameWidth, kFrameHeight);
    for (long long k = 0; k < count; ++k) {
        TickModel(g);
        ComposeFrame(g, unseen, s);
    }
    g.motion.driverAngle = angle;
}

bool DrawRevolution(GearState& g, float step, Canvas& c, const FrameServices& s,
                    const std::function<bool(long long k, float solvedAngle)>& frame) {
    WarmUpRunning(g, step, s);
    const long long ticks = TicksPerRevolution(step);
    for (long long k = 0; k < ticks; ++k) {
        const float solved = g.motion.driverAngle;
        TickModel(g);
        ComposeFrame(g, c, s);
        if (!frame(k, solved)) return false;
    }
    return true;
}

int GifDelayForFps(int fps) {
    fps = std::clamp(fps, 1, 100);
    return std::max(1, static_cast<int>(Nearest(100.0 / fps)));
}

bool EncodeRevolutionGif(GearState& g, const AnimationSettings& a, Canvas& c, const std::function<PixelRows()>& rows,
                         const FrameServices& s, const std::function<bool(long long done, long long total)>& progress,
                         std::vector<std::uint8_t>& bytes, std::string& error) {
    error.clear();
    const int width = std::clamp(a.width, 1, c.Width());
    const int height = std::clamp(a.height, 1, c.Height());
    GifWriter gif(width, height, ClassicPalette(), GifDelayForFps(a.fps));
    const long long total = TicksPerRevolution(a.step);
    const bool drawn = DrawRevolution(g, a.step, c, s, [&](long long k, float) {
        const PixelRows r = rows();
        if (!gif.AddFrame(r.pixels, r.stride)) return false;
        return !progress || progress(k + 1, total);
    });
    if (!drawn) {
        error = gif.Error();
        return false;
    }
    if (!gif.Finish(bytes)) {
        error = gif.Error();
        return false;
    }
    return true;
}

} // namespace vx
