#include "cli/animation_command.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "cli/text_io.h"
#include "cli/turn_fault.h"
#include "export/animation_file.h"
#include "export/picture_file.h"
#include "model/gear/reverse_arm.h"

namespace vx::cli {

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

bool ReadAnimationOptions(const Args& args, AnimationOptions& o, std::string& error) {
    error.clear();
    o.screenData = !args.Has("--no-screen-data");
    o.steam = args.Has("--steam");
    o.largeFont = args.Has("--large-font");
    o.force = args.Has("--force");
    if (const std::string* value = args.Value("--size"); value && !ParseFrameSize(*value, o.width, o.height)) {
        error = "--size needs WxH within 1280x1024, e.g. 632x380";
        return false;
    }
    for (const auto& [name, target] : {std::pair{"--revarm", &o.revarm}, std::pair{"--step", &o.step},
                                       std::pair{"--fps", &o.fps}}) {
        const std::string* value = args.Value(name);
        if (!value) continue;
        const auto v = ParseNumber(*value);
        if (!v) {
            error = std::string(name) + " needs a number";
            return false;
        }
        *target = *v;
    }
    if (!ReadOutOption(args, true, o.out, error)) return false;
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

int RunRenderAnimationCommand(CommandContext& ctx, const AnimationOptions& o) {
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    g.motion.reverseArmPosition = ReverseArmAtOffset(g, o.revarm);
    g.motion.direction = DirectionAt(g.motion.reverseArmPosition, g.revArm.centre);
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
        return ctx.Usage(Clause(written.message.toStdString() + " (give --force to remove them)"));
    if (!written.written) return ctx.CannotRun(Clause(written.message.toStdString()));
    return TurnFault(ctx, g, g.motion.reverseArmPosition);
}

} // namespace vx::cli
