// The design: what a dimension data file holds. The 54 dimensions, held
// as the frame's named fields, the cylinder's storage slots and the fixed
// pivots' coordinates. A value: cheap to copy, no pointers, no strings.
#pragma once

#include <array>
#include <cstdint>

namespace vx {

constexpr int kPivotCount = 31;       // pivots 0..30
constexpr int kScreenPivotCount = 30; // pivots 0..29 get screen points
constexpr int kCylinderSlots = 22;

// The linkage dimensions held as plain fields. Five dimensions are the
// fixed pivots' coordinates instead (FixedPivots below).
struct FrameDimensions {
    float driverDia = 0;            // 1
    float stroke = 0;               // 2
    float mainRodLength = 0;        // 3
    float eccCircleDia = 0;         // 4
    float eccDia = 0;               // 5
    float eccFwdAngle = 0;          // 6
    float eccRevAngle = 0;          // 7
    float eccFwdRod = 0;            // 8
    float eccRevRod = 0;            // 9
    float exLinkLength = 0;         // 10
    float exLinkSupportVert = 0;    // 11
    float exLinkEccRodVert = 0;     // 12
    float exLinkEccRodBackSet = 0;  // 13
    float liftLinkExLink = 0;       // 14
    float liftLinkRadRod = 0;       // 15
    float radRodTotalLength = 0;    // 16
    float radRodShortEnd = 0;       // 17
    float liftArmExLinkEnd = 0;     // 18
    float liftArmExLinkAngle = 0;   // 19
    float liftArmRadRodEnd = 0;     // 20
    float liftArmRadRodAngle = 0;   // 21
    float reverseArmLength = 0;     // 22
    float revArmToCentNorm = 0;     // 25
    float revArmToCentMax = 0;      // 26
    float exLinkSupportBackSet = 0; // 28
    float rockerUpperTotal = 0;     // 30
    float rockerUpperBackSet = 0;   // 31
    float rockerLowerLength = 0;    // 32
};

// Cylinder and valve dimensions in their fixed storage order (values 0..21),
// held in one array so that the editors, the file and the defaults index a
// real array; the named accessors give each slot its meaning.
struct CylinderDimensions {
    std::array<float, kCylinderSlots> values{};

    float& slot(int i) { return values.at(static_cast<std::size_t>(i)); }
    float slot(int i) const { return values.at(static_cast<std::size_t>(i)); }

    float& cylCtrToDriverCtr() { return values[0]; } // slot 0, id 101
    float cylCtrToDriverCtr() const { return values[0]; }
    float& boreDia() { return values[1]; } // slot 1, id 103
    float boreDia() const { return values[1]; }
    float& boreLength() { return values[2]; } // slot 2, id 104
    float boreLength() const { return values[2]; }
    float& spare() { return values[3]; } // slot 3, never used
    float spare() const { return values[3]; }
    float& cylSteamPortWidth() { return values[4]; } // slot 4, id 105
    float cylSteamPortWidth() const { return values[4]; }
    float& pistonToCrosshead() { return values[5]; } // slot 5, id 106
    float pistonToCrosshead() const { return values[5]; }
    float& pistonWidth() { return values[6]; } // slot 6, id 107
    float pistonWidth() const { return values[6]; }
    float& valveSurfaceToCL() { return values[7]; } // slot 7, id 108
    float valveSurfaceToCL() const { return values[7]; }
    float& valveStemToCL() { return values[8]; } // slot 8, id 109
    float valveStemToCL() const { return values[8]; }
    float& exhaustPortWidth() { return values[9]; } // slot 9, id 110
    float exhaustPortWidth() const { return values[9]; }
    float& bridgeRear() { return values[10]; } // slot 10, id 111
    float bridgeRear() const { return values[10]; }
    float& steamPortRear() { return values[11]; } // slot 11, id 113
    float steamPortRear() const { return values[11]; }
    float& chamberHeight() { return values[12]; } // slot 12, id 115
    float chamberHeight() const { return values[12]; }
    float& chamberLength() { return values[13]; } // slot 13, id 116
    float chamberLength() const { return values[13]; }
    float& valveHeight() { return values[14]; } // slot 14, id 117
    float valveHeight() const { return values[14]; }
    float& valveRearHalf() { return values[15]; } // slot 15, id 118
    float valveRearHalf() const { return values[15]; }
    float& cavityRearHalf() { return values[16]; } // slot 16, id 120
    float cavityRearHalf() const { return values[16]; }
    float& valveCtrToJoint() { return values[17]; } // slot 17, id 122
    float valveCtrToJoint() const { return values[17]; }
    float& bridgeFront() { return values[18]; } // slot 18, id 112
    float bridgeFront() const { return values[18]; }
    float& steamPortFront() { return values[19]; } // slot 19, id 114
    float steamPortFront() const { return values[19]; }
    float& valveFrontHalf() { return values[20]; } // slot 20, id 119
    float valveFrontHalf() const { return values[20]; }
    float& cavityFrontHalf() { return values[21]; } // slot 21, id 121
    float cavityFrontHalf() const { return values[21]; }
};

// The dimensions that place fixed pivots: the reverse and lift shaft (pivot
// 16), the rocker pivot (pivot 27) and the cylinder centre line (the
// crosshead's height, Y of pivot 3). The solve puts them into its pivot
// table (PlaceFixedPivots).
struct FixedPivots {
    float liftShaftX = 0;      // liftShaftHorz, pivot 16
    float liftShaftY = 0;      // liftShaftVert, pivot 16
    float rockerPivotX = 0;    // rockerPivotHorz, pivot 27
    float rockerPivotY = 0;    // rockerPivotVert, pivot 27
    float cylinderCentreY = 0; // cylCLAboveDriver, Y of pivot 3
};

struct Design {
    FrameDimensions frame;
    CylinderDimensions cyl;
    FixedPivots fixedPivots;
};

} // namespace vx
