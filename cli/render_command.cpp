// vexlin-cli render frame: the main picture of the prepared design at one
// driver angle and reverse arm position, as PNG, SVG or PDF.
#include "cli/render_command.h"

#include <QString>

#include <cmath>
#include <optional>
#include <string_view>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "cli/animation_command.h"
#include "export/picture_file.h"
#include "scene/frame/animation_frames.h"
#include "scene/frame/frame_renderer.h"
#include "model/motion.h"
#include "platform/random.h"

namespace vx::cli {
namespace {

constexpr std::string_view kRenderHelp =
    R"(Usage: vexlin-cli [--design FILE] [--set FIELD=VALUE]... render frame --out FILE [options]
       vexlin-cli [--design FILE] [--set FIELD=VALUE]... render animation --out FILE [options]
                   (see "render animation --help")

Draws the main picture of the design (1280 x 1024) as the window shows it,
screen data included: as PNG, SVG or PDF by the suffix of FILE (.png,
.svg, .pdf; PNG when it has no suffix; "-" writes to standard output).
Without --running the motion is stopped.

Options:
  --out FILE       the picture file (required)
  --size WxH       only the top-left W x H pixels of the 1280 x 1024
                   picture, e.g. 632x380 for what the window shows
  --angle A        driver angle in degrees (default: the design's, 0)
  --revarm OFFSET  reverse arm position from mid gear (default 0; -1 is
                   normal full forward, +1 full reverse for the default
                   design)
  --zoom Z         pixels per length unit, a finite number above 0
  --pan-h H        picture x of the driving axle
  --pan-v V        picture y of the driving axle
                   (the view defaults to the design's: zoom 28.5, pan
                   110, 270 unless a design file sets another)
  --no-screen-data the picture without the screen data
  --steam          with the steam display
  --large-font     the screen data at the large-font positions
  --line-width W   pen width 1 (default) or 2
  --running STEP   run the gear at STEP degrees per tick (0.01 to 45), as
                   the window runs it, from the design's driver angle (0):
                   one revolution, then on up to the angle; cut-off
                   readouts, steam colours and densities are those seen
                   at that moment (frame by frame what "render animation"
                   writes)
)";

int UsageError(std::ostream& err, const std::string& message) {
    err << "vexlin-cli: render: " << message << "\nTry 'vexlin-cli render --help'.\n";
    return kExitUsage;
}

struct FrameOptions {
    std::string out;
    std::optional<double> angle, revarm, zoom, panH, panV, lineWidth, running;
    int width = kFrameWidth, height = kFrameHeight;
    bool screenData = true;
    bool steam = false;
    bool largeFont = false;
};

// Reads the options after "frame". On a usage error returns false with the
// message.
bool ParseFrameOptions(const std::vector<std::string>& args, FrameOptions& o, std::string& error) {
    error.clear();
    struct Named {
        std::string_view name;
        std::optional<double>* target;
    };
    const Named numbers[] = {{"--angle", &o.angle},   {"--revarm", &o.revarm},         {"--zoom", &o.zoom},
                             {"--pan-h", &o.panH},    {"--pan-v", &o.panV},            {"--line-width", &o.lineWidth},
                             {"--running", &o.running}};
    const PictureSwitches switches{&o.screenData, &o.steam, &o.largeFont};
    bool haveOut = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (TakePictureSwitch(args[i], switches)) continue;
        std::optional<std::string> value;
        if (TakeOutOption(args, i, o.out, error)) {
            if (!error.empty()) return false;
            haveOut = true;
            continue;
        }
        if (TakeOption(args, i, "--size", value)) {
            if (!value || !ParseFrameSize(*value, o.width, o.height)) {
                error = "--size needs WxH within 1280x1024, e.g. 632x380";
                return false;
            }
            continue;
        }
        const Named* named = nullptr;
        for (const Named& n : numbers) {
            if (TakeOption(args, i, n.name, value)) {
                named = &n;
                break;
            }
        }
        if (!named) {
            error = "unknown option " + Quote(args[i]);
            return false;
        }
        if (!value) {
            error = std::string(named->name) + " needs a number";
            return false;
        }
        *named->target = ParseNumber(*value);
        if (!*named->target) {
            error = "not a number: " + Quote(*value) + " (for " + std::string(named->name) + ")";
            return false;
        }
    }
    if (!haveOut) {
        error = "--out FILE is required";
        return false;
    }
    if (!PictureKindOf(o.out)) {
        error = "--out " + Quote(o.out) + ": unknown kind of picture " + Quote(std::string(FileSuffix(o.out))) +
                "; the kinds are " + std::string(PictureKindNames());
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

// Puts the gear where the options say and runs the model work of the ticks
// the way the window does. Stopped (the default), one tick with a step of 0:
// the picture and the angle the layers read back both show the angle asked
// for. Running, from the design's angle, a revolution of ticks at that step
// and on up to the tick that solves the angle asked for, each with its frame
// composed (unseen), so the layers' frame-to-frame state is that of the
// running window (see animation_frames.h).
void PrepareFrame(GearState& g, const FrameOptions& o, const FrameServices& services) {
    const float angle = o.angle ? ToModelFloat(*o.angle) : g.motion.driverAngle;
    g.motion.reverseArmPosition = ToModelFloat(static_cast<double>(g.revArm.centre) + o.revarm.value_or(0.0));
    g.motion.direction = g.motion.reverseArmPosition <= g.revArm.centre ? Direction::Fwd : Direction::Rev;
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
        TickModel(g);
        return;
    }
    WarmUpRunning(g, ToModelFloat(*o.running), services);
    RunUpTo(g, angle, services);
    TickModel(g);
}

int WriteFailure(std::ostream& err, const std::string& message) {
    err << "vexlin-cli: render: " << message << "\n";
    return kExitFailure;
}

int RenderFrame(GearState& g, const FrameOptions& o, std::ostream& err) {
    LcgRandom random(1);
    const FrameServices services{nullptr, &random, nullptr}; // silent; steam dots from a fixed seed
    PrepareFrame(g, o, services);
    const PictureSource picture{o.width, o.height, [&](Canvas& c) { ComposeFrame(g, c, services); }};
    if (const QString error = WritePicture(QString::fromStdString(o.out), *PictureKindOf(o.out), picture);
        !error.isEmpty())
        return WriteFailure(err, error.toStdString());
    return kExitOk;
}

} // namespace

int RunRender(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << kRenderHelp;
        return kExitOk;
    }
    if (args.empty()) return UsageError(err, "which picture? (frame, animation)");
    if (args[0] == "animation") return RunRenderAnimation(g, args, out, err);
    if (args[0] != "frame") return UsageError(err, "unknown picture " + Quote(args[0]) + " (frame, animation)");
    FrameOptions o;
    std::string error;
    if (!ParseFrameOptions(args, o, error)) return UsageError(err, error);
    return RenderFrame(g, o, err);
}

} // namespace vx::cli
