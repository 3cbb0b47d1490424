#include "model/workspace/locator.h"

namespace vx {
namespace {

using Coord = LocatorCoord;
using Pt = LocatorPoint;
using Set = LocatorSet;
using Shape = LocatorShape;
using Case = LocatorCase;

constexpr Coord S(Set s, int n, int offset = 0) {
    return {Coord::Kind::Screen, s, static_cast<std::int8_t>(n), 0, static_cast<std::int8_t>(offset)};
}
constexpr Pt P(int n) { return {S(Set::P, n), S(Set::P, n)}; }
constexpr Pt C(int k) { return {S(Set::C, k), S(Set::C, k)}; }
constexpr Pt V(int k) { return {S(Set::V, k), S(Set::V, k)}; }
constexpr Pt XY(Coord x, Coord y) { return {x, y}; }
// a - (a - b) div 2 of two pivots' screen coordinates.
constexpr Coord Mid(int a, int b) {
    return {Coord::Kind::Mid, Set::P, static_cast<std::int8_t>(a), static_cast<std::int8_t>(b)};
}
// (a + b) div 2 of two valve outline coordinates.
constexpr Coord HalfV(int a, int b) {
    return {Coord::Kind::HalfSum, Set::V, static_cast<std::int8_t>(a), static_cast<std::int8_t>(b)};
}
// A world coordinate ka * W(a) + kb * W(b) + kd * dimension, through the new view.
constexpr Coord W(float ka, int a, float kb = 0, int b = 0, float kd = 0, int dim = 0) {
    return {Coord::Kind::World, Set::P, static_cast<std::int8_t>(a), static_cast<std::int8_t>(b), 0,
            ka, kb, kd, static_cast<std::int16_t>(dim)};
}
constexpr Pt WP(float ka, int a, float kb, int b) { return {W(ka, a, kb, b), W(ka, a, kb, b)}; }

constexpr Case Line(int id, std::string_view name, float n, float h, float v, Pt a, Pt b) {
    return {id, {name, n, true, h, v}, Shape::Line, {a, b, a}};
}
constexpr Case LineKeepPan(int id, std::string_view name, float n, Pt a, Pt b) {
    return {id, {name, n, false, 0, 0}, Shape::Line, {a, b, a}};
}
constexpr Case Angle(int id, std::string_view name, float n, float h, float v, Pt a, Pt b, Pt c) {
    return {id, {name, n, true, h, v}, Shape::Polyline3, {a, b, c}};
}
constexpr Case Travel(int id, std::string_view name, float n, float h, float v) {
    return {id, {name, n, true, h, v}, Shape::Travel, {}};
}

constexpr std::array<Case, 54> kCases{{
    Line(1, "Driver Dia", 30, 290, 212, XY(S(Set::P, 1), W(1, 1, 0, 0, -0.5f, 1)), XY(S(Set::P, 1), W(1, 1, 0, 0, 0.5f, 1))),
    Line(2, "Stroke", 30, 290, 212, P(2), WP(2, 1, -1, 2)),
    LineKeepPan(3, "Main Rod Length", 28.5f, P(2), P(3)),
    Line(4, "Eccentric Circle Dia", 62, 280, 212, P(12), WP(1, 1, -1, 12)),
    Line(5, "Eccentric Dia", 62, 280, 212, P(21), WP(2, 12, -1, 21)),
    Angle(6, "Eccentric Forward Angle", 62, 280, 212, P(2), P(1), P(12)),
    Angle(7, "Eccentric Reverse Angle", 62, 280, 212, P(2), P(1), P(13)),
    Line(8, "Eccentric Forward Rod", 50, 100, 212, P(12), P(10)),
    Line(9, "Eccentric Reverse Rod", 50, 100, 212, P(13), P(11)),
    Line(10, "ExLink Length", 33, 100, 212, P(6), P(7)),
    Line(11, "ExLink Support Piv Vert", 33, 100, 212, P(9), P(25)),
    Line(12, "ExLink-Ecc Rod Piv Vert", 33, 100, 212, P(10), XY(Mid(10, 11), Mid(10, 11))),
    Line(13, "ExLink-Ecc Rod Pivot BkS", 33, 100, 212, P(9), XY(Mid(10, 11), Mid(10, 11))),
    Line(14, "Lift Link for ExLink", 40, 50, 250, P(14), P(15)),
    Line(15, "Lift Link for RadRod", 40, 50, 250, P(17), P(26)),
    Line(16, "Radius Rod Total Length", 40, 50, 250, P(5), P(8)),
    Line(17, "Radius Rod Short End", 33, 100, 250, P(8), P(26)),
    Line(18, "Lift Arm ExLink End", 33, 100, 250, P(15), P(16)),
    Angle(19, "Lift Arm ExLink Angle", 33, 100, 250, P(15), P(16), P(18)),
    Line(20, "Lift Arm RadRod End", 33, 100, 250, P(16), P(17)),
    Angle(21, "Lift Arm RadRod Angle", 33, 100, 250, P(17), P(16), P(18)),
    Line(22, "Reverse Arm Length", 33, 100, 250, P(16), P(18)),
    Line(23, "Rev/Lift Arm Pivot Vert", 33, 100, 250, P(16), XY(S(Set::P, 16), S(Set::P, 1))),
    Line(24, "Rev/Lift Arm Pivot Horz", 33, 100, 250, P(16), XY(S(Set::P, 1), S(Set::P, 16))),
    Travel(25, "Rev Arm to Cent Norm", 33, 100, 250),
    Travel(26, "Rev Arm to Cent Max", 33, 100, 250),
    Line(27, "Rocker Pivot Vert", 33, 100, 212, P(27), XY(S(Set::P, 27), S(Set::P, 0))),
    Line(28, "ExLink Support Piv BkS", 33, 100, 212, P(14), P(25)),
    Line(29, "Rocker Pivot Horz", 33, 100, 212, XY(S(Set::P, 0), S(Set::P, 27)), P(27)),
    Line(30, "Rocker Upper End", 33, 100, 212, P(27), P(28)),
    Line(31, "Rocker Upper BackSet", 33, 100, 212, P(28), P(29)),
    Line(32, "Rocker Lower End", 33, 100, 212, P(5), P(27)),
    LineKeepPan(101, "Cyl ctr to Driver ctr", 28.5f, P(1), XY(W(1, 1, 0, 0, 1, 101), S(Set::P, 1))),
    Line(102, "Cyl CL above Driver ctr", 55, -500, 285, XY(W(1, 1, 0, 0, 1, 101), S(Set::P, 1)),
         XY(W(1, 1, 0, 0, 1, 101), S(Set::P, 3))),
    Line(103, "Cylinder Bore Dia", 55, -500, 285, C(5), C(6)),
    Line(104, "Cylinder Bore Length", 55, -500, 285, C(6), C(7)),
    Line(105, "Cyl Steam Port Width", 55, -500, 285, C(5), C(18)),
    Line(106, "Piston ctr to Crosshead", 40, -250, 285, P(3), XY(W(1, 3, 0, 0, 1, 106), S(Set::P, 3))),
    Line(107, "Piston Width", 55, -500, 285, V(1), V(4)),
    Line(108, "Valve Surface to Cyl CL", 55, -500, 285, XY(S(Set::C, 2, 5), S(Set::C, 2)),
         XY(S(Set::C, 2, 5), S(Set::P, 3))),
    Line(109, "Valve Stem CL to Cyl CL", 55, -500, 285, XY(S(Set::C, 2), S(Set::P, 4)),
         XY(S(Set::C, 2), S(Set::P, 3))),
    Line(110, "Exhaust Port  Width", 55, -500, 285, C(15), XY(S(Set::C, 22), S(Set::C, 15))),
    Line(111, "Bridge Width   Rear", 55, -500, 285, C(15), C(16)),
    Line(112, "Bridge Width   Front", 55, -500, 285, C(21), C(22)),
    Line(113, "Steam Port Width  Rear", 55, -500, 285, C(3), C(16)),
    Line(114, "Steam Port Width   Front", 55, -500, 285, C(10), C(21)),
    Line(115, "Valve Chamber    Height", 55, -500, 285, C(1), C(2)),
    Line(116, "Valve Chamber Length", 55, -500, 285, C(2), C(11)),
    Line(117, "Valve Height", 55, -500, 285, V(6), V(13)),
    Line(118, "Valve Length  Rear Half", 55, -500, 285, V(6), XY(HalfV(7, 6), S(Set::V, 6))),
    Line(119, "Valve Length   Front Half", 55, -500, 285, V(7), XY(HalfV(7, 6), S(Set::V, 7))),
    Line(120, "Valve Exh CavityRearHalf", 55, -500, 285, V(12), XY(HalfV(9, 12), S(Set::V, 12))),
    Line(121, "Valve ExhCavityFrontHalf", 55, -500, 285, V(9), XY(HalfV(9, 12), S(Set::V, 9))),
    Line(122, "Valve Stem", 55, -500, 285, P(4), XY(HalfV(9, 12), S(Set::P, 4))),
}};

constexpr std::array<int, 54> MakeIds() {
    std::array<int, 54> ids{};
    for (std::size_t i = 0; i < kCases.size(); ++i) ids[i] = kCases[i].id;
    return ids;
}
constexpr std::array<int, 54> kIds = MakeIds();

} // namespace

const LocatorCase* FindLocatorCase(int id) {
    for (const Case& c : kCases)
        if (c.id == id) return &c;
    return nullptr;
}


const LocatorView* FindLocatorView(int id) {
    const LocatorCase* c = FindLocatorCase(id);
    return c ? &c->view : nullptr;
}

std::span<const int> LocatorIds() { return kIds; }

} // namespace vx
