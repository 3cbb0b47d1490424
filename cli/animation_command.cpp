#include "cli/animation_command.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "platform/random.h"

namespace vx::cli {
namespace {

// "WxH" with 1 <= W <= 1280 and 1 <= H <= 1024.
bool ParseSize(std::string_view text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return false;
    const auto number = [](std::string_view t, int& v) {
        const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
        return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size();
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height) && width >= 1 &&
           width <= kFrameWidth && height >= 1 && height <= kFrameHeight;
}

bool IsFolder(const std::string& path) {
    return !path.empty() && (path.back() == '/' || QFileInfo(QString::fromStdString(path)).isDir());
}

} // namespace

bool ReadAnimationOptions(const Args& args, AnimationOptions& o, std::string& error) {
    error.clear();
    o.screenData = !args.Has("--no-screen-data");
    o.steam = args.Has("--steam");
    o.largeFont = args.Has("--large-font");
    if (const std::string* value = args.Value("--size"); value && !ParseSize(*value, o.width, o.height)) {
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
    const std::string* out = args.Value("--out");
    if (!out) {
        error = "--out FILE is required";
        return false;
    }
    if (out->empty()) {
        error = "--out needs a file name";
        return false;
    }
    o.out = *out;
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
    o.framesFolder = IsFolder(o.out);
    return true;
}

int RunRenderAnimationCommand(CommandContext& ctx) {
    AnimationOptions o;
    std::string error;
    if (!ReadAnimationOptions(ctx.args, o, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    const auto Failure = [&ctx](std::ostream&, const std::string& message) { return ctx.CannotRun(Clause(message)); };
    std::ostream& err = ctx.err;
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

    LcgRandom random(1);
    const FrameServices services{nullptr, &random, nullptr}; // silent; steam dots from a fixed seed
    QImageCanvas canvas(kFrameWidth, kFrameHeight);

    if (o.framesFolder) {
        const QString folder = QString::fromStdString(o.out);
        if (!QDir().mkpath(folder)) return Failure(err, "cannot make the folder " + Quote(o.out));
        const long long total = TicksPerRevolution(a.step);
        const int digits = std::max(4, static_cast<int>(std::to_string(total - 1).size()));
        QString failure;
        DrawRevolution(g, a.step, canvas, services, [&](long long k, float) {
            const QString name = QStringLiteral("frame-%1.png").arg(k, digits, 10, QLatin1Char('0'));
            failure = WritePngFile(QDir(folder).filePath(name), std::as_const(canvas).Image().copy(0, 0, a.width, a.height));
            return failure.isEmpty();
        });
        if (!failure.isEmpty()) return Failure(err, failure.toStdString());
        return kExitOk;
    }

    std::vector<std::uint8_t> bytes;
    const auto rows = [&canvas] {
        const QImage& image = std::as_const(canvas).Image();
        return PixelRows{reinterpret_cast<const std::uint32_t*>(image.constBits()),
                         static_cast<std::ptrdiff_t>(image.bytesPerLine() / 4)};
    };
    if (!EncodeRevolutionGif(g, a, canvas, rows, services, nullptr, bytes, error)) return Failure(err, error);
    const QString failure = WriteWholeFile(
        QString::fromStdString(o.out),
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    if (!failure.isEmpty()) return Failure(err, failure.toStdString());
    return kExitOk;
}

} // namespace vx::cli
