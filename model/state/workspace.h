// The user's workspace around one design: the motion and the reverse arm
// positions, the dynamic variables, undo and redo, the view, the line and
// circle overlay, the pivot picks and reference points, the display options
// and the program defaults the resets go back to. Plain data; the
// operations on it live in the other workspace headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/state/design.h"

namespace vx {

constexpr int kOverlayItems = 20;     // items 1..20
constexpr int kRevArmPositions = 9;   // positions 1..9
constexpr int kPresetCount = 7;       // slot 0 (staging) and presets 1..6
constexpr int kUndoEntries = 100;     // entries 0..99
constexpr int kSlotCount = 5;         // slot 0 (incoming) and 1..4
constexpr int kPickSlots = 6;         // pivot data pick slots 1..6
constexpr int kRefPoint1 = 19;        // pivots holding the reference points
constexpr int kRefPoint2 = 20;

// Placeholder name of an empty dynamic-variable slot: 13 spaces and "??".
inline constexpr std::string_view kUnassignedSlotName = "             ??";

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

struct Workspace {
    // Defaults records, filled by LoadFrameDefaults / LoadCylinderDefaults.
    std::array<float, 33> frameDefaults{}; // indexed by frame id 1..32
    CylinderDimensions cylDefaults;
    float cylCLAboveDriverDefault = 0;

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

    // Display options and the design's name in the captions.
    std::string designName = "Nominal";
    bool errorBeepOn = true;
    float graphicZoomFactor = 7.5f;
    // The reverse arm position a valve diagram drew last (kept in the file).
    float lastDiagramPosition = 0;
    int portGraphChoice = 3;
    float textScaleX = 1, textScaleY = 1;
    bool steamDisplayOn = false;
    int lineWidth = 1;
    bool screenDataOn = true;
    int locatorDimension = 0; // dimension id shown by the locator, 0 = none

    // Reference points and pivot picking. The two reference points are
    // pivots 19 and 20 of the pivot table. Pick slots 1..6 hold pivot
    // numbers as floats.
    bool refPointsOn = false;
    bool pivotDataOn = false;
    std::array<float, kPickSlots + 1> pickPivot{};  // slots 1..6
    std::array<bool, kPickSlots + 1> pickInUse{};   // a slot once used stays used
    int armedSlot = 1;
    bool slotArmed = false;
    int lastPickedPivot = 0;
    bool leftClickSeen = false;
    std::array<JogMemory, 4> refJog{}; // SBRef1Vert, SBRef1Horz, SBRef2Vert, SBRef2Horz
};

} // namespace vx
