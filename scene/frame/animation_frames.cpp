#include "scene/frame/animation_frames.h"

#include <algorithm>
#include <cmath>

#include "model/workspace/running.h"
#include "model/workspace/view.h"
#include "platform/gif_writer.h"

namespace vx {

bool DrawRevolution(const GearState& start, float step, Canvas& c, const FrameServices& s,
                    const std::function<bool(long long k, float solvedAngle)>& frame) {
    RunningRevolution revolution(start, step);
    while (revolution.Next()) {
        ComposeFrame(revolution.Gear(), c, s);
        if (!frame(revolution.Frame(), revolution.SolvedAngle())) return false;
    }
    return true;
}

int GifDelayForFps(int fps) {
    fps = std::clamp(fps, 1, 100);
    return std::max(1, static_cast<int>(Nearest(100.0 / fps)));
}

bool EncodeRevolutionGif(const GearState& g, const AnimationSettings& a, Canvas& c, const std::function<PixelRows()>& rows,
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
