#include "cli/animation_command.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "export/animation_file.h"
#include "export/picture_file.h"

namespace vx::cli {
namespace {

constexpr std::string_view kAnimationHelp =
    R"(Usage: vexlin-cli [--design FILE] [--set FIELD=VALUE]... render animation --out FILE [options]

Runs the gear for one revolution from the design's driver angle (0) as the
window runs it, after a first revolution that brings the cut-off readouts
and the steam display up to those of a running gear, and writes every frame: an animated GIF that loops,
or, when FILE is a folder (it ends in "/" or exists as one), numbered PNG
frames frame-0000.png, frame-0001.png, ... in it. Each frame is the picture
"render frame --angle A --running STEP" draws for its angle A.
A folder that holds frame files this animation would not write over (those
of a longer earlier one) is refused, unless --force is given: then they are
removed once the new frames are written. Other files are never touched.

Options:
  --out FILE       the GIF file (.gif, or no suffix; "-" writes to standard
                   output), or a folder for PNG frames (required)
  --force          remove the frame files of an earlier animation in the
                   folder that this one does not write over
  --step S         degrees per frame, 0.01 to 45 (default 10: 36 frames)
  --revarm OFFSET  reverse arm position from mid gear (default 0; -1 is
                   normal full forward, +1 full reverse for the default
                   design)
  --steam          with the steam display
  --no-screen-data the pictures without the screen data
  --large-font     the screen data at the large-font positions
  --fps N          frames per second of the GIF, 1 to 100 (default 25)
  --size WxH       only the top-left W x H pixels of the 1280 x 1024
                   picture, e.g. 632x380 for what the window shows
)";

int UsageError(std::ostream& err, const std::string& message) {
    err << "vexlin-cli: render animation: " << message << "\nTry 'vexlin-cli render animation --help'.\n";
    return kExitUsage;
}

int Failure(std::ostream& err, const std::string& message) {
    err << "vexlin-cli: render animation: " << message << "\n";
    return kExitFailure;
}

} // namespace

bool ParseFrameSize(std::string_view text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return false;
    const auto number = [](std::string_view t, int& v) {
        const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
        return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size();
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height) && width >= 1 &&
           width <= kFrameWidth && height >= 1 && height <= kFrameHeight;
}

bool ParseAnimationOptions(const std::vector<std::string>& args, AnimationOptions& o, std::string& error) {
    error.clear();
    const PictureSwitches switches{&o.screenData, &o.steam, &o.largeFont};
    const NumberOption numbers[] = {{"--revarm", &o.revarm}, {"--step", &o.step}, {"--fps", &o.fps}};
    bool haveOut = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (TakePictureSwitch(args[i], switches)) continue;
        if (args[i] == "--force") {
            o.force = true;
            continue;
        }
        if (TakeOutOption(args, i, o.out, error)) {
            if (!error.empty()) return false;
            haveOut = true;
            continue;
        }
        std::optional<std::string> value;
        if (TakeOption(args, i, "--size", value)) {
            if (!value || !ParseFrameSize(*value, o.width, o.height)) {
                error = "--size needs WxH within 1280x1024, e.g. 632x380";
                return false;
            }
            continue;
        }
        const NumberOption* named = nullptr;
        for (const NumberOption& n : numbers)
            if (TakeOption(args, i, n.name, value)) {
                named = &n;
                break;
            }
        if (!named) {
            error = "unknown option " + Quote(args[i]);
            return false;
        }
        const auto v = value ? ParseNumber(*value) : std::nullopt;
        if (!v) {
            error = std::string(named->name) + " needs a number";
            return false;
        }
        *named->target = *v;
    }
    if (!haveOut) {
        error = "--out FILE is required";
        return false;
    }
    if (!(o.step >= kMinRunningStep && o.step <= kMaxRunningStep)) {
        error = "--step must lie between 0.01 and 45";
        return false;
    }
    if (!(o.fps >= 1 && o.fps <= 100) || o.fps != std::floor(o.fps)) {
        error = "--fps must be a whole number from 1 to 100";
        return false;
    }
    if (!std::isfinite(o.revarm)) {
        error = "--revarm must be a finite number";
        return false;
    }
    const std::optional<AnimationKind> kind = AnimationKindOf(QString::fromStdString(o.out));
    if (!kind) {
        error = "--out " + Quote(o.out) + ": unknown kind of animation " + Quote(std::string(FileSuffix(o.out))) +
                "; the kinds are " + std::string(AnimationKindNames());
        return false;
    }
    o.framesFolder = *kind == AnimationKind::Frames;
    return true;
}

int RunRenderAnimation(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
        out << kAnimationHelp;
        return kExitOk;
    }
    AnimationOptions o;
    std::string error;
    if (!ParseAnimationOptions(args, o, error)) return UsageError(err, error);

    g.motion.reverseArmPosition = ToModelFloat(static_cast<double>(g.revArm.centre) + o.revarm);
    g.motion.direction = g.motion.reverseArmPosition <= g.revArm.centre ? Direction::Fwd : Direction::Rev;
    g.screenDataOn = o.screenData;
    g.steamDisplayOn = o.steam;
    if (o.largeFont) {
        g.textScaleX = 1.27f;
        g.textScaleY = 1.22f;
    }
    AnimationSettings a;
    a.step = ToModelFloat(o.step);
    a.fps = static_cast<int>(o.fps);
    a.width = o.width;
    a.height = o.height;

    const QString path = QString::fromStdString(o.out);
    const AnimationOutcome written =
        o.framesFolder ? WriteAnimationFrames(g, a, path, o.force ? OtherFrames::Remove : OtherFrames::Refuse)
                       : WriteAnimationGif(g, a, path);
    if (!written.otherFrames.isEmpty())
        return Failure(err, written.message.toStdString() + " (give --force to remove them)");
    if (!written.written) return Failure(err, written.message.toStdString());
    return kExitOk;
}

} // namespace vx::cli
