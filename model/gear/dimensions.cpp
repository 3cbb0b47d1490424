#include "model/gear/dimensions.h"

#include <array>
#include <cmath>


namespace vx {
namespace {

using FD = FrameDimensions;

constexpr DimensionInfo Frame(int id, std::string_view field, std::string_view name, float def,
                              float FD::*member) {
    return {id, field, name, def, DimStore::Frame, member, -1, -1};
}
constexpr DimensionInfo Pivot(int id, std::string_view field, std::string_view name, float def,
                              DimStore axis, int pivot) {
    return {id, field, name, def, axis, nullptr, -1, pivot};
}
constexpr DimensionInfo Cyl(int id, std::string_view field, std::string_view name, float def, int slot) {
    return {id, field, name, def, DimStore::Cylinder, nullptr, slot, -1};
}

// Frame ids 1..32 in id order, then cylinder ids 101..122 in id order.
constexpr std::array<DimensionInfo, 54> kTable{{
    Frame(1, "driverDia", "Driver Dia", 7.0f, &FD::driverDia),
    Frame(2, "stroke", "Stroke", 3.0f, &FD::stroke),
    Frame(3, "mainRodLength", "Main Rod Length", 10.0f, &FD::mainRodLength),
    Frame(4, "eccCircleDia", "Eccentric Circle Dia", 0.6875f, &FD::eccCircleDia),
    Frame(5, "eccDia", "Eccentric Dia", 2.0f, &FD::eccDia),
    Frame(6, "eccFwdAngle", "Eccentric Forward Angle", 302.0f, &FD::eccFwdAngle),
    Frame(7, "eccRevAngle", "Eccentric Reverse Angle", 302.0f, &FD::eccRevAngle),
    Frame(8, "eccFwdRod", "Eccentric Forward Rod", 7.25f, &FD::eccFwdRod),
    Frame(9, "eccRevRod", "Eccentric Reverse Rod", 7.25f, &FD::eccRevRod),
    Frame(10, "exLinkLength", "ExLink Length", 3.0f, &FD::exLinkLength),
    Frame(11, "exLinkSupportVert", "ExLink Support Piv Vert", 0.75f, &FD::exLinkSupportVert),
    Frame(12, "exLinkEccRodVert", "ExLink-Ecc Rod Piv Vert", 0.75f, &FD::exLinkEccRodVert),
    Frame(13, "exLinkEccRodBackSet", "ExLink-Ecc Rod Pivot BkS", 0.0f, &FD::exLinkEccRodBackSet),
    Frame(14, "liftLinkExLink", "Lift Link for ExLink", 2.71f, &FD::liftLinkExLink),
    Frame(15, "liftLinkRadRod", "Lift Link for RadRod", 1.821f, &FD::liftLinkRadRod),
    Frame(16, "radRodTotalLength", "Radius Rod Total Length", 5.1f, &FD::radRodTotalLength),
    Frame(17, "radRodShortEnd", "Radius Rod Short End", 1.384f, &FD::radRodShortEnd),
    Frame(18, "liftArmExLinkEnd", "Lift Arm ExLink End", 0.6f, &FD::liftArmExLinkEnd),
    Frame(19, "liftArmExLinkAngle", "Lift Arm ExLink Angle", 75.0f, &FD::liftArmExLinkAngle),
    Frame(20, "liftArmRadRodEnd", "Lift Arm RadRod End", 1.0f, &FD::liftArmRadRodEnd),
    Frame(21, "liftArmRadRodAngle", "Lift Arm RadRod Angle", 75.0f, &FD::liftArmRadRodAngle),
    Frame(22, "reverseArmLength", "Reverse Arm Length", 2.375f, &FD::reverseArmLength),
    Pivot(23, "liftShaftVert", "Rev/Lift Arm Pivot Vert", -2.0f, DimStore::PivotY, 16),
    Pivot(24, "liftShaftHorz", "Rev/Lift Arm Pivot Horz", 7.633f, DimStore::PivotX, 16),
    Frame(25, "revArmToCentNorm", "Rev Arm to Cent Norm", 1.0f, &FD::revArmToCentNorm),
    Frame(26, "revArmToCentMax", "Rev Arm to Cent Max", 1.074f, &FD::revArmToCentMax),
    Pivot(27, "rockerPivotVert", "Rocker Pivot Vert", 1.13f, DimStore::PivotY, 27),
    Frame(28, "exLinkSupportBackSet", "ExLink Support Piv BkS", 0.0f, &FD::exLinkSupportBackSet),
    Pivot(29, "rockerPivotHorz", "Rocker Pivot Horz", 12.3f, DimStore::PivotX, 27),
    Frame(30, "rockerUpperTotal", "RockerUpperEndTotal", 1.25f, &FD::rockerUpperTotal),
    Frame(31, "rockerUpperBackSet", "Rocker Upper BackSet", 0.0f, &FD::rockerUpperBackSet),
    Frame(32, "rockerLowerLength", "Rocker Lower End", 1.12f, &FD::rockerLowerLength),

    Cyl(101, "cylCtrToDriverCtr", "Cyl ctr to Driver ctr", 16.0f, 0),
    Pivot(102, "cylCLAboveDriver", "Cyl CL above Driver ctr", 0.0f, DimStore::PivotY, 3),
    Cyl(103, "boreDia", "Cylinder Bore Dia", 2.125f, 1),
    Cyl(104, "boreLength", "Cylinder Bore Length", 4.0f, 2),
    Cyl(105, "cylSteamPortWidth", "Cyl Steam Port Width", 0.312f, 4),
    Cyl(106, "pistonToCrosshead", "Piston ctr to Crosshead", 6.0f, 5),
    Cyl(107, "pistonWidth", "Piston Width", 0.5f, 6),
    Cyl(108, "valveSurfaceToCL", "Valve Surface to Cyl CL", 1.75f, 7),
    Cyl(109, "valveStemToCL", "Valve Stem CL to Cyl CL", 2.062f, 8),
    Cyl(110, "exhaustPortWidth", "Exhaust Port  Width", 0.375f, 9),
    Cyl(111, "bridgeRear", "Bridge Width   Rear", 0.187f, 10),
    Cyl(112, "bridgeFront", "Bridge Width   Front", 0.187f, 18),
    Cyl(113, "steamPortRear", "Steam Port Width  Rear", 0.156f, 11),
    Cyl(114, "steamPortFront", "Steam Port Width   Front", 0.156f, 19),
    Cyl(115, "chamberHeight", "Valve Chamber    Height", 0.625f, 12),
    Cyl(116, "chamberLength", "Valve Chamber Length", 2.187f, 13),
    Cyl(117, "valveHeight", "Valve Height", 0.5f, 14),
    Cyl(118, "valveRearHalf", "Valve Length  Rear Half", 0.687f, 15),
    Cyl(119, "valveFrontHalf", "Valve Length   Front Half", 0.687f, 20),
    Cyl(120, "cavityRearHalf", "Valve Exh CavityRearHalf", 0.375f, 16),
    Cyl(121, "cavityFrontHalf", "Valve ExhCavityFrontHalf", 0.375f, 21),
    Cyl(122, "valveCtrToJoint", "Valve Stem", 3.703f, 17),
}};

} // namespace

std::span<const DimensionInfo> AllDimensions() { return kTable; }
std::span<const DimensionInfo> FrameDimensionTable() { return std::span(kTable).first(32); }
std::span<const DimensionInfo> CylinderDimensionTable() { return std::span(kTable).subspan(32); }

const DimensionInfo* FindDimension(int id) {
    int index = -1;
    if (id >= 1 && id <= 32) index = id - 1;
    else if (id >= 101 && id <= 122) index = 32 + (id - 101);
    return index < 0 ? nullptr : &kTable[static_cast<std::size_t>(index)];
}

const DimensionInfo* FindDimensionByField(std::string_view field) {
    for (const DimensionInfo& d : kTable)
        if (d.field == field) return &d;
    return nullptr;
}

float& DimensionRef(Design& g, const DimensionInfo& d) {
    FixedPivots& p = g.fixedPivots;
    switch (d.store) {
    case DimStore::Frame: return g.frame.*d.frameMember;
    case DimStore::Cylinder: return g.cyl.slot(d.cylSlot);
    case DimStore::PivotX: return d.pivot == 27 ? p.rockerPivotX : p.liftShaftX;
    case DimStore::PivotY: break;
    }
    if (d.pivot == 3) return p.cylinderCentreY;
    return d.pivot == 27 ? p.rockerPivotY : p.liftShaftY;
}

float DimensionValue(const Design& g, const DimensionInfo& d) {
    return DimensionRef(const_cast<Design&>(g), d);
}

float FoldAngle(float degrees) {
    if (std::isnan(degrees)) return degrees;
    if (std::isinf(degrees)) return 0.0f;
    // Repeated subtraction keeps the classic float rounding for ordinary
    // values; far-off values are first reduced exactly.
    if (std::fabs(degrees) > 360.0f * 4096.0f) degrees = static_cast<float>(std::fmod(static_cast<double>(degrees), 360.0));
    float v = degrees;
    while (v >= 360.0f) v = static_cast<float>(static_cast<double>(v) - 360.0);
    while (v < 0.0f) v = static_cast<float>(static_cast<double>(v) + 360.0);
    // A tiny negative value plus 360 can round up to exactly 360.
    if (v >= 360.0f) v = 0.0f;
    return v;
}

namespace {
// Limits the reverse arm positions in use to centre +- Norm.
void ClampPositionsToNorm(GearState& g) {
    const double c = g.revArm.centre;
    const double norm = g.frame.revArmToCentNorm;
    for (int k = 1; k <= kRevArmPositions; ++k) {
        float& p = g.revArm.position[static_cast<std::size_t>(k)];
        if (p == 0.0f) continue;
        if (p < static_cast<float>(c - norm)) p = static_cast<float>(c - norm);
        if (p > static_cast<float>(c + norm)) p = static_cast<float>(c + norm);
    }
}
} // namespace

bool CommitDimension(GearState& g, int id, float value) {
    const DimensionInfo* d = FindDimension(id);
    if (!d) return false;
    if (id == 25) {
        g.frame.revArmToCentNorm = value;
        if (g.frame.revArmToCentNorm > g.frame.revArmToCentMax) {
            g.frame.revArmToCentNorm = g.frame.revArmToCentMax;
            ClampPositionsToNorm(g);
        }
        return true;
    }
    if (id == 26) {
        g.frame.revArmToCentMax = value;
        if (g.frame.revArmToCentMax < g.frame.revArmToCentNorm) {
            g.frame.revArmToCentMax = g.frame.revArmToCentNorm;
            ClampPositionsToNorm(g);
        }
        return true;
    }
    if (IsAngleDimension(id)) value = FoldAngle(value);
    SetDimension(g, *d, value);
    return true;
}

void SetDimension(GearState& g, const DimensionInfo& d, float value) {
    DimensionRef(g, d) = value;
    // The pivot table follows the fixed pivots and the spindle height at once.
    PlaceFixedPivots(g, g);
}

} // namespace vx
