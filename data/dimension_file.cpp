#include "data/dimension_file.h"

#include "model/gear/reverse_arm.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>
#include <type_traits>

#include "model/workspace/defaults.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

constexpr int kOverlayFieldCount = 13;
// Floats of records 1..72; record 73 holds the current overlay item.
constexpr std::size_t kRecordedFloats = (kDesignRecords - 1) * kDesignRecordFloats;

// Calls f on every float of records 1..72, in file order. G is GearState or
// const GearState, so the same table drives the writer and the reader.
template <class G, class F>
void VisitRecords(G& g, F&& f) {
    auto& fr = g.frame;
    auto& cyl = g.cyl;
    auto& piv = g.piv;
    auto& fixed = g.fixedPivots;

    // 1..4: frame dimensions.
    f(fr.eccFwdAngle), f(fr.eccRevAngle), f(fr.liftArmExLinkAngle), f(fr.liftArmRadRodAngle), f(fr.stroke);
    f(fr.eccCircleDia), f(fr.driverDia), f(fr.mainRodLength), f(fr.radRodTotalLength), f(fr.liftArmExLinkEnd);
    f(fr.liftArmRadRodEnd), f(fr.exLinkSupportBackSet), f(fr.exLinkEccRodBackSet), f(fr.exLinkEccRodVert),
        f(fr.eccFwdRod);
    f(fr.eccRevRod), f(fr.exLinkSupportVert), f(fr.liftLinkRadRod), f(fr.radRodShortEnd), f(fr.reverseArmLength);
    // 5, 6: the lift shaft (pivot 16) four times over, then the cylinder height.
    f(fr.liftLinkExLink), f(fixed.liftShaftX), f(fixed.liftShaftY), f(fixed.liftShaftX), f(fixed.liftShaftY);
    f(fixed.liftShaftX), f(fixed.liftShaftY), f(fixed.liftShaftX), f(fixed.liftShaftY), f(fixed.cylinderCentreY);
    // 7..11: mid gear, the cylinder block, the link length and the spindle height.
    f(g.revArm.centre);
    for (int s = 0; s <= 18; ++s) f(cyl.slot(s));
    f(cyl.slot(19)), f(cyl.slot(20)), f(fr.exLinkLength), f(cyl.slot(21)), f(piv.y[4]);
    // 12..14: view, travel, rocker.
    f(g.view.zoom), f(g.view.panHorz), f(g.graphicZoomFactor), f(g.view.panVert), f(fr.revArmToCentNorm);
    f(fr.revArmToCentMax), f(g.motion.reverseArmPosition), f(fr.eccDia), f(g.lastDiagramPosition),
        f(g.revArm.verticalScale);
    f(fixed.rockerPivotY), f(fixed.rockerPivotX), f(fr.rockerUpperTotal), f(fr.rockerUpperBackSet), f(fr.rockerLowerLength);
    // 15..20: the seven view presets, then reverse arm positions 1..9.
    for (auto& p : g.viewPresets) f(p.zoom), f(p.panHorz), f(p.panVert);
    for (int i = 1; i <= kRevArmPositions; ++i) f(g.revArm.position[i]);
    // 21..72: the overlay, one field of all 20 items after another.
    using Item = std::remove_cvref_t<decltype(g.overlay[1])>;
    static constexpr float Item::*kFields[kOverlayFieldCount] = {
        &Item::horz1,       &Item::vert1,       &Item::horz2,        &Item::vert2,        &Item::anchor1Horz,
        &Item::anchor1Vert, &Item::anchor2Horz, &Item::anchor2Vert,  &Item::kind,         &Item::color,
        &Item::refMode,     &Item::anchorPivot1, &Item::anchorPivot2,
    };
    for (auto field : kFields)
        for (int i = 1; i <= kOverlayItems; ++i) f(g.overlay[i].*field);
}

void PutFloat(std::uint8_t* p, float v) {
    const auto bits = std::bit_cast<std::uint32_t>(v);
    p[0] = static_cast<std::uint8_t>(bits);
    p[1] = static_cast<std::uint8_t>(bits >> 8);
    p[2] = static_cast<std::uint8_t>(bits >> 16);
    p[3] = static_cast<std::uint8_t>(bits >> 24);
}

float GetFloat(const std::uint8_t* p) {
    const std::uint32_t bits = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                               (std::uint32_t{p[3]} << 24);
    return std::bit_cast<float>(bits);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string OpenError(const std::string& path, const std::string& reason) {
    return "Cannot open design " + Quoted(path) + ": " + reason;
}

std::string SaveError(const std::string& path, const std::string& reason) {
    return "Cannot save design " + Quoted(path) + ": " + reason;
}

// Reads the first kDesignFileSize bytes of a file. Returns the error reason,
// or "" when the bytes were read; `more` tells whether bytes follow them.
std::string ReadDesignBytes(const std::string& path, DesignBytes& bytes, bool& more) {
    more = false;
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return ErrnoText(errno);
    std::size_t got = 0;
    while (got < bytes.size()) {
        errno = 0;
        const std::size_t n = std::fread(bytes.data() + got, 1, bytes.size() - got, f);
        got += n;
        if (n == 0) break;
    }
    if (got == bytes.size()) {
        unsigned char next = 0;
        more = std::fread(&next, 1, 1, f) == 1;
    }
    const bool failed = std::ferror(f) != 0;
    const int readErrno = errno;
    std::fclose(f);
    if (failed) return ErrnoText(readErrno);
    if (got < bytes.size())
        return "file is too short (" + std::to_string(got) + " bytes; a design file holds " +
               std::to_string(kDesignFileSize) + ")";
    return {};
}

} // namespace

DesignBytes EncodeDesign(const GearState& g) {
    DesignBytes out{};
    std::size_t n = 0;
    VisitRecords(g, [&](const float& v) {
        if (n < kRecordedFloats) PutFloat(out.data() + 4 * n, v);
        ++n;
    });
    // Record 73: four zeros, then the current overlay item.
    PutFloat(out.data() + out.size() - 4, static_cast<float>(g.currentItem));
    return out;
}

void DecodeDesign(GearState& g, const std::uint8_t* bytes) {
    std::size_t n = 0;
    VisitRecords(g, [&](float& v) {
        if (n < kRecordedFloats) v = GetFloat(bytes + 4 * n);
        ++n;
    });
    // Record 73, slots 1 to 4 are not used; slot 5 is the current overlay item.
    g.currentItem = std::clamp(Nearest(GetFloat(bytes + kDesignFileSize - 4)), 1, kOverlayItems);
}

std::string DesignNameFromPath(std::string_view path) {
    const auto slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() < 4) return {};
    return std::string(name.substr(0, name.size() - 4));
}

namespace {

// Stores checked bytes as the design (see OpenDesign).
FileResult LoadDesign(GearState& g, const DesignBytes& bytes, std::string name) {
    FileResult r;
    FullReset(g);
    g.designName = std::move(name);
    DecodeDesign(g, bytes.data());
    r.midGear = FindMidGear(g);
    // The reverse arm comes up at mid gear (the bar at 0), also when the
    // search could not settle and kept an older centre.
    g.motion.reverseArmPosition = g.revArm.centre;
    g.piv.x[18] = g.revArm.centre;
    return r;
}

} // namespace

FileResult OpenDesign(GearState& g, const std::string& path) {
    FileResult r;
    DesignBytes bytes{};
    bool more = false;
    if (std::string reason = ReadDesignBytes(path, bytes, more); !reason.empty()) {
        r.ok = false;
        r.error = OpenError(path, reason);
        return r;
    }
    r = LoadDesign(g, bytes, DesignNameFromPath(path));
    r.trailingBytes = more;
    return r;
}

FileResult OpenDesignBytes(GearState& g, std::string_view data, const std::string& label) {
    if (data.size() < kDesignFileSize) {
        FileResult r;
        r.ok = false;
        r.error = "Cannot open design from " + label + ": too short (" + std::to_string(data.size()) +
                  " bytes; a design file holds " + std::to_string(kDesignFileSize) + ")";
        return r;
    }
    DesignBytes bytes{};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(data.data()), bytes.size(), bytes.begin());
    FileResult r = LoadDesign(g, bytes, {});
    r.trailingBytes = data.size() > kDesignFileSize;
    return r;
}

FileResult SaveDesign(GearState& g, const std::string& path) {
    FileResult r;
    const DesignBytes bytes = EncodeDesign(g);
    if (std::string reason = ReplaceFileContents(path, bytes.data(), bytes.size()); !reason.empty()) {
        r.ok = false;
        r.error = SaveError(path, reason);
        return r;
    }
    g.designName = DesignNameFromPath(path);
    return r;
}

int RevArmBarPositionAfterOpen(const GearState& g) {
    return Nearest(RevArmBarOf(g.revArm.centre, g.motion.reverseArmPosition));
}

} // namespace vx
