// vexlin-cli render frame: the main picture of the prepared design at one
// driver angle and reverse arm position, as PNG, SVG or PDF.
#include "cli/render_command.h"

#include <QString>

#include <cmath>
#include <string_view>

#include "cli/animation_command.h"
#include "cli/output_path.h"
#include "cli/text_io.h"
#include "cli/turn_fault.h"
#include "scene/frame/animation_frames.h"
#include "scene/frame/frame_renderer.h"
#include "model/workspace/motion.h"
#include "model/gear/reverse_arm.h"
#include "model/workspace/frame_advance.h"
#include "model/workspace/running.h"
#include "platform/random.h"

namespace vx::cli {

bool ReadFrameOptions(const Args& args, FrameOptions& o, std::string& error) {
    error.clear();
    struct Named {
        std::string_view name;
        std::optional<double>* target;
    };
    const Named numbers[] = {{"--angle", &o.angle},   {"--revarm", &o.revarm},         {"--zoom", &o.zoom},
                             {"--pan-h", &o.panH},    {"--pan-v", &o.panV},            {"--line-width", &o.lineWidth},
                             {"--running", &o.running}};
    o.screenData = !args.Has("--no-screen-data");
    o.steam = args.Has("--steam");
    o.largeFont = args.Has("--large-font");
    for (const Named& n : numbers)
        if (!NumberArg(args, n.name, *n.target, error)) return false;
    if (!ReadOutOption(args, true, o.out, error) || !ReadPictureKind(o.out, o.kind, error)) return false;
    if (const std::string* size = args.Value("--size"); size && !ParseFrameSize(*size, o.width, o.height)) {
        error = "--size needs WxH within 1280x1024, e.g. 632x380";
        return false;
    }
    if (o.lineWidth && *o.lineWidth != 1 && *o.lineWidth != 2) {
        error = "--line-width must be 1 or 2";
        return false;
    }
    if (o.running && !(*o.running >= 0.01 && *o.running <= 45)) {
        error = "--running must lie between 0.01 and 45";
        return false;
    }
    if (o.zoom) {
        const float z = ToModelFloat(*o.zoom);
        if (!std::isfinite(z) || !(z > 0)) {
            error = "--zoom must be a finite number above 0";
            return false;
        }
    }
    return true;
}

namespace {

// Puts the gear where the options say and runs its frames the way the
// window does. Stopped (the default), one frame with a step of 0: the
// picture and the angle the layers read back both show the angle asked for.
// Running, from the design's angle, a revolution of frames at that step and
// on up to the frame that solves the angle asked for, so the frame-to-frame
// state is that of the running window (see model/workspace/running.h).
void PrepareFrame(GearState& g, const FrameOptions& o) {
    const float angle = o.angle ? ToModelFloat(*o.angle) : g.motion.driverAngle;
    g.motion.reverseArmPosition = ReverseArmAtOffset(g, o.revarm.value_or(0.0));
    g.motion.direction = DirectionAt(g.motion.reverseArmPosition, g.revArm.centre);
    if (o.zoom) g.view.zoom = ToModelFloat(*o.zoom);
    if (o.panH) g.view.panHorz = ToModelFloat(*o.panH);
    if (o.panV) g.view.panVert = ToModelFloat(*o.panV);
    g.screenDataOn = o.screenData;
    g.steamDisplayOn = o.steam;
    if (o.largeFont) {
        g.textScaleX = 1.27f;
        g.textScaleY = 1.22f;
    }
    if (o.lineWidth) g.lineWidth = static_cast<int>(*o.lineWidth);
    if (!o.running) {
        g.motion.driverAngle = angle;
        g.motion.tickStep = 0;
        g.motion.running = false;
        AdvanceFrame(g);
        return;
    }
    WarmUpRunning(g, ToModelFloat(*o.running));
    RunUpTo(g, angle);
    AdvanceFrame(g); // a picture has no sound
}

} // namespace

int RunRenderFrame(CommandContext& ctx, const FrameOptions& o) {
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    const GearState asGiven = g;
    LcgRandom random(1);
    const FrameServices services{&random}; // steam dots from a fixed seed
    PrepareFrame(g, o);
    const PictureSource picture{o.width, o.height, [&](Canvas& c) { ComposeFrame(g, c, services); }};
    if (const QString error = WritePicture(QString::fromStdString(o.out), o.kind, picture); !error.isEmpty())
        return ctx.CannotRun(Clause(error.toStdString()));
    return TurnFault(ctx, asGiven, g.motion.reverseArmPosition);
}

} // namespace vx::cli
