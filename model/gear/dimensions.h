// The dimension table: every editable dimension with its id, field name,
// short name, default and where its value is stored. Everything that names a
// dimension (editors, dynamic-variable slots, undo, the file, the command
// line) looks it up here.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/state/gear_state.h"

namespace vx {

enum class DimStore { Frame, Cylinder, PivotX, PivotY };

struct DimensionInfo {
    int id;
    std::string_view field;     // lower camel case model name
    std::string_view shortName; // shown by the slots and the undo list
    float defaultValue;
    DimStore store;
    float FrameDimensions::*frameMember; // Frame
    int cylSlot;                         // Cylinder
    int pivot;                           // PivotX / PivotY: the fixed pivot it places
};

// The 32 frame dimensions (ids 1..32) followed by the 22 cylinder
// dimensions (ids 101..122), each group in id order.
std::span<const DimensionInfo> AllDimensions();
std::span<const DimensionInfo> FrameDimensionTable();    // ids 1..32
std::span<const DimensionInfo> CylinderDimensionTable(); // ids 101..122

const DimensionInfo* FindDimension(int id);

// A dimension's name as the windows and the report show it beside figures:
// its short name with each run of blanks made one ("Bridge Width Rear"),
// then, with `withField`, the field name the command line and the files
// use ("Rocker Pivot Horz (rockerPivotHorz)"). An unknown id gives "".
std::string DimensionDisplayName(int id, bool withField);
const DimensionInfo* FindDimensionByField(std::string_view field);

// Where the design stores a dimension. The fixed pivots' coordinates reach
// the solution's pivot table at the next solve (PlaceFixedPivots).
float& DimensionRef(Design& g, const DimensionInfo& d);
float DimensionValue(const Design& g, const DimensionInfo& d);

inline bool IsAngleDimension(int id) { return id == 6 || id == 7 || id == 19 || id == 21; }
// Ids 25 and 26 (the reverse arm travel) are dimensions but never dynamic variables.
inline bool IsDynamicVariable(int id) { return id != 25 && id != 26 && FindDimension(id) != nullptr; }

// Brings an angle into [0, 360) by whole turns. Always ends: values too large
// for repeated subtraction are reduced with fmod, infinities become 0.
float FoldAngle(float degrees);

// A dimension's value as every window shows it: the angles folded into
// [0, 360) (a slot or an undo entry may hold one unfolded, a file any value),
// everything else as it is.
inline float ShownDimensionValue(int id, float value) { return IsAngleDimension(id) ? FoldAngle(value) : value; }

} // namespace vx

namespace vx {

// Commits a typed value the way a dimension box of the editors does: angles
// folded into [0, 360), Norm and Max kept in order (pulling the reverse arm
// positions in use into centre +- Norm), fixed and derived pivots updated.
// No undo entry and no slot change. Returns false for an unknown id.
bool CommitDimension(GearState& g, int id, float value);

// Writes a dimension's value as it is, with the fixed pivots and the
// spindle height that follow from it put into the pivot table.
void SetDimension(GearState& g, const DimensionInfo& d, float value);

} // namespace vx
