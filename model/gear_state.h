// The one process-wide model of a gear design: dimensions, pivots, motion,
// view, dynamic-variable slots, undo list, overlay and display options.
// Plain data; the operations on it live in the other model headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/display_state.h"
#include "model/geometry_error.h"

namespace vx {

constexpr int kPivotCount = 31;       // pivots 0..30
constexpr int kScreenPivotCount = 30; // pivots 0..29 get screen points
constexpr int kOverlayItems = 20;     // items 1..20
constexpr int kRevArmPositions = 9;   // positions 1..9
constexpr int kPresetCount = 7;       // slot 0 (staging) and presets 1..6
constexpr int kUndoEntries = 100;     // entries 0..99
constexpr int kSlotCount = 5;         // slot 0 (incoming) and 1..4
constexpr int kCylinderSlots = 22;
constexpr int kPickSlots = 6;        // pivot data pick slots 1..6
constexpr int kRefPoint1 = 19;        // pivots holding the reference points
constexpr int kRefPoint2 = 20;

// Placeholder name of an empty dynamic-variable slot: 13 spaces and "??".
inline constexpr std::string_view kUnassignedSlotName = "             ??";

// The linkage dimensions held as plain fields. Five dimensions are pivot
// coordinates instead (liftShaftHorz/Vert = pivot 16, rockerPivotHorz/Vert =
// pivot 27, cylCLAboveDriver = Y of pivot 3); see dimensions.h.
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

struct PivotTable {
    std::array<float, kPivotCount> x{};
    std::array<float, kPivotCount> y{};
    std::array<std::int32_t, kPivotCount> sx{};
    std::array<std::int32_t, kPivotCount> sy{};
};

// Port event values of the valve diagrams, written by the solver.
struct EventValues {
    float frontSteamOpenLevel = 0;
    float frontSteamMaxLevel = 0;
    float frontExhaustOpenLevel = 0;
    float rearSteamOpenLevel = 0;
    float rearSteamMaxLevel = 0;
    float rearExhaustOpenLevel = 0;
    float valveOffset = 0;
    float upperLeadTerm = 0;
    float lowerLeadTerm = 0;
    float frontLap = 0;
    float rearLap = 0;
    float frontExhaustClearance = 0;
    float rearExhaustClearance = 0;
};

struct PortOpenings {
    float pistonPosition = 0; // 0..640
    float frontSteamOpening = 0;
    float frontExhaustOpening = 0;
    float rearSteamOpening = 0;
    float rearExhaustOpening = 0;
};

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

enum class Direction { Fwd, Rev };

struct MotionState {
    float driverAngle = 0;
    float tickStep = 10;
    float selectedStep = 10;
    float reverseArmPosition = 0;
    Direction direction = Direction::Fwd;
    bool running = true;      // the Run button reads "Stop" while true
    bool stepBarArmed = true;
};

struct RevArmPositionList {
    float centre = 0;
    std::array<float, kRevArmPositions + 1> position{}; // 1..9 used
    int positionCount = 0;
    float verticalScale = 1.5f;
    bool diagramRedrawPending = false;
};

struct ViewTransform {
    float zoom = 28.5f;
    float panHorz = 110;
    float panVert = 270;
    friend bool operator==(const ViewTransform&, const ViewTransform&) = default;
};

// Last and previous position handled by a relative jog bar.
struct JogMemory {
    int last = 0;
    int before = 0;
};

struct DynVarSlot {
    std::int32_t id = 0;
    float value = 0;
    std::string_view name = kUnassignedSlotName; // always a static text
};

// What a mid-gear search writes: the centre, positions 1..3 of the list, the
// reverse arm position and X of pivot 18.
struct MidGearFigures {
    float centre = 0;
    std::array<float, 4> positions{}; // 1..3 used
    float reverseArmPosition = 0;
    float pivot18X = 0;
    friend bool operator==(const MidGearFigures&, const MidGearFigures&) = default;
};

struct UndoEntry {
    std::int32_t id = 0;
    float oldValue = 0;
    float newValue = 0;
    std::string_view name; // always a static text
    // A mid-gear search that followed the change ("Close", Balance "Apply"):
    // the figures before and after it, which undo and redo put back.
    bool midGearSearched = false;
    MidGearFigures midGearBefore{};
    MidGearFigures midGearAfter{};
};

// One user line or circle; every field is a float, as stored in the file.
struct OverlayItem {
    float horz1 = 0, vert1 = 0, horz2 = 0, vert2 = 0;
    float anchor1Horz = 0, anchor1Vert = 0, anchor2Horz = 0, anchor2Vert = 0;
    float kind = -1;    // 0 line, 1 circle, -1 empty
    float color = -1;   // 0x00BBGGRR, -1 empty
    float refMode = -1; // 0..3, -1 empty
    float anchorPivot1 = 0, anchorPivot2 = 0;
};

// The six UnDo buttons: the main window's, the four diagram windows' and
// the valve events window's.
constexpr int kUndoButtons = 6;

struct GearState {
    FrameDimensions frame;
    CylinderDimensions cyl;

    // Defaults records, filled by LoadFrameDefaults / LoadCylinderDefaults.
    std::array<float, 33> frameDefaults{}; // indexed by frame id 1..32
    CylinderDimensions cylDefaults;
    float cylCLAboveDriverDefault = 0;

    PivotTable piv;
    float linkAngle = 0;
    EventValues events;
    PortOpenings ports;
    std::array<ScreenPoint, 24> cylOutline{};   // C(0..23)
    std::array<ScreenPoint, 14> valveOutline{}; // V(0..13)

    MotionState motion;
    RevArmPositionList revArm;

    // Dynamic variables and undo.
    std::array<DynVarSlot, kSlotCount> dynVarSlots{};
    std::array<UndoEntry, kUndoEntries> undo{};
    int undoCount = 0;
    bool undoPending = false;
    bool dynVarDisplay = false;
    bool undoDisplay = false;
    float dynVarStep = 0.001f;
    int activeSlot = 1;
    float valueAtEnter = 0;
    JogMemory dynVarBars; // H1 = last, H2 = before; shared by every window
    std::array<bool, kUndoButtons> undoButtonEnabled{};
    // Redo: the changes undo took back, newest first in redo[1..redoCount]
    // (model/undo_redo.h). A new change empties it.
    std::array<UndoEntry, kUndoEntries> redo{};
    int redoCount = 0;
    // What the last undo or redo did, shown for noticeFrames more frames
    // where the undo line stands while that line is hidden.
    UndoEntry noticeEntry;
    bool noticeRedo = false;
    int noticeFrames = 0;

    // View.
    ViewTransform view;
    ViewTransform normalView;
    ViewTransform savedView;
    std::array<ViewTransform, kPresetCount> viewPresets{};
    JogMemory panVertJog, panHorzJog, zoomJog;

    std::array<OverlayItem, kOverlayItems + 1> overlay{}; // items 1..20
    int currentItem = 1;

    // Line and circle overlay: the three choices of the dialog that defines
    // the items (type 0..1, colour 0..5, reference 0..3; -1 none), which the
    // main window's clicks and the pick prompts read; where reference point 1
    // stood when the dialog was last shown without a reference choice; and
    // whether a pivot pick on the main window is awaited.
    struct OverlayChoices {
        int type = -1;
        int color = -1;
        int ref = -1;
    } overlayChoice;
    float openRef1Horz = 0, openRef1Vert = 0;
    bool pivotPickPending = false;

    std::string designName = "Nominal";
    bool errorBeepOn = true;
    bool geometryError = false;
    // Why the geometry could not close. solveCause: the first failing step of
    // the latest solve (None when it closed), recorded whatever the error beep
    // option. errorCause: the cause that raised geometryError, kept until the
    // flag is cleared. Each with the driver angle it happened at.
    GeometryCause solveCause = GeometryCause::None;
    float solveCauseAngle = 0;
    GeometryCause errorCause = GeometryCause::None;
    float errorCauseAngle = 0;
    float searchTolerance = 0.0001f;

    float graphicZoomFactor = 7.5f;
    float lastDiagramPosition = 0;
    int portGraphChoice = 3;
    float textScaleX = 1, textScaleY = 1;
    bool steamDisplayOn = false;
    int lineWidth = 1;
    bool screenDataOn = true;
    int locatorDimension = 0; // dimension id shown by the locator, 0 = none
    std::string frontCutOffText, rearCutOffText;

    // Valve diagrams. The undo line text the main window and the diagram
    // windows share: the diagrams draw the current text and then rebuild it
    // from the newest undo entry. NUL-terminated, formatted in place.
    std::array<char, 256> undoLineText{};

    // Dimension locator, frame to frame (scene/frame/dimension_locator_layer).
    int locatorFrameCount = 0; // frames shown so far
    int locatorBlinkCount = 0; // place in the six-frame blink cycle
    bool locatorReopenCylinder = false; // the editor to show again: cylinder, else frame
    bool locatorEnded = false; // set on the last frame; the main window reopens the editor

    // Reference points and pivot picking. The two reference points are
    // pivots 19 and 20 of piv. Pick slots 1..6 hold pivot numbers as floats.
    bool refPointsOn = false;
    bool pivotDataOn = false;
    std::array<float, kPickSlots + 1> pickPivot{};  // slots 1..6
    std::array<bool, kPickSlots + 1> pickInUse{};   // a slot once used stays used
    int armedSlot = 1;
    bool slotArmed = false;
    int lastPickedPivot = 0;
    bool leftClickSeen = false;
    std::array<JogMemory, 4> refJog{}; // SBRef1Vert, SBRef1Horz, SBRef2Vert, SBRef2Horz

    // The main picture's captions, cut-off capture, error indicator cycle,
    // steam display state and the effects on the window's controls.
    DisplayState display;
};

} // namespace vx
