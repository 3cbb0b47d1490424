#include "model/workspace/window_captions.h"

namespace vx {
namespace {

constexpr std::string_view kVersion = "Version " VEXLIN_VERSION;
constexpr std::string_view kOutsideAdm = "VEXLIN Outside Adm";

// A caption part: a text, or a count of spaces (text empty), or one of the
// three values.
enum class Part : std::uint8_t { Text, Spaces, Name, Date, Time };
struct Piece {
    Part part;
    std::string_view text;
    int spaces;
};

constexpr Piece T(std::string_view s) { return {Part::Text, s, 0}; }
constexpr Piece S(int n) { return {Part::Spaces, {}, n}; }
constexpr Piece kName{Part::Name, {}, 0};
constexpr Piece kDate{Part::Date, {}, 0};
constexpr Piece kTime{Part::Time, {}, 0};
constexpr Piece kEnd{Part::Text, {}, -1};

constexpr int kMaxPieces = 12;
using Layout = Piece[kMaxPieces];

// One row per WindowKind, in its order.
constexpr Layout kLayouts[kCaptionWindows] = {
    {T(kOutsideAdm), S(12), kName, S(5), kDate, S(3), kTime, S(3), T(kVersion), kEnd},
    {T(kOutsideAdm), S(6), T("Sine Diagram"), S(4), kName, S(5), kDate, S(3), kTime, S(3), T(kVersion), kEnd},
    {T(kOutsideAdm), S(6), T("Oval Diagram"), S(4), kName, S(5), kDate, S(3), kTime, S(3), T(kVersion), kEnd},
    {T(kOutsideAdm), S(6), T("Steam Diagram"), S(4), kName, S(5), kDate, S(3), kTime, S(3), T(kVersion), kEnd},
    {T(kOutsideAdm), S(6), T("Port Open/Closed"), S(4), kName, S(5), kDate, S(3), kTime, S(3), T(kVersion), kEnd},
    {T("VEXLIN Outside Adm Pivot Data"), S(3), kName, S(5), kDate, S(3), kTime, S(3), T(kVersion), kEnd},
    {T("Frame"), S(2), T("VEXLIN Adm"), S(2), kName, S(2), kDate, S(2), kTime, kEnd},
    {T("Cylin"), S(2), T("VEXLIN Adm"), S(2), kName, S(2), kDate, S(2), kTime, kEnd},
};

} // namespace

CaptionText WindowCaption(WindowKind kind, std::string_view designName, std::string_view date,
                          std::string_view time) {
    CaptionText out;
    const auto index = static_cast<std::size_t>(kind);
    if (index >= std::size(kLayouts)) return out;
    for (const Piece& p : kLayouts[index]) {
        if (p.spaces < 0) break;
        switch (p.part) {
        case Part::Text: out.Append(p.text); break;
        case Part::Spaces: out.AppendSpaces(static_cast<std::size_t>(p.spaces)); break;
        case Part::Name: out.Append(designName); break;
        case Part::Date: out.Append(date); break;
        case Part::Time: out.Append(time); break;
        }
    }
    return out;
}

void SetWindowCaptions(FrameState& f, std::string_view designName, std::string_view date, std::string_view time) {
    for (int k = 0; k < kCaptionWindows; ++k)
        f.display.captions[static_cast<std::size_t>(k)] = WindowCaption(static_cast<WindowKind>(k), designName, date, time);
}

} // namespace vx
