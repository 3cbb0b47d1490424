// What the running picture carries from one frame to the next: the error
// indicator's flag and cause, the caught cut-offs, the undo line and its
// notice, the dimension locator's blink, the captions and the steam
// display. The frame's advance (scene/frame/frame_advance.h) writes it; the
// drawing only reads it.
#pragma once

#include <array>
#include <string>

#include "model/state/display_state.h"
#include "model/state/geometry_error.h"
#include "model/state/workspace.h"

namespace vx {

// What a frame shows, decided by its advance (model/workspace/frame_advance.h)
// and drawn from as it stands: the steam of each end, the caught cut-offs
// shown, the undo notice shown, and the dimension locator's figure.
struct FramePicture {
    SteamColor frontSteam = SteamColor::Black;
    SteamColor rearSteam = SteamColor::Black;
    int frontDots = 0; // dots of each end's steam
    int rearDots = 0;
    bool frontCutOffShown = false;
    bool rearCutOffShown = false;
    bool undoNoticeShown = false;
    int locatorId = 0;      // the dimension the locator draws, 0 none
    bool locatorRed = false; // the blink's pen: red, else black
    // The view the locator draws through: the one it sets for its dimension.
    ViewTransform locatorView;
};

struct FrameState {
    // The error indicator: raised by a solve that could not close while the
    // error beep option is on, kept until its cycle ends. errorCause: the
    // cause that raised it, with the driver angle it happened at.
    bool geometryError = false;
    GeometryCause errorCause = GeometryCause::None;
    float errorCauseAngle = 0;
    // The window's solve has said once that it took the exact solve where
    // the classic searches do not reach (GeometryCause::SolvedExactly).
    bool exactSolveNoticed = false;

    // What the last undo or redo did, shown for noticeFrames more frames
    // where the undo line stands while that line is hidden.
    UndoEntry noticeEntry;
    bool noticeRedo = false;
    int noticeFrames = 0;

    // The caught cut-offs' texts.
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

    // A view the locator set in this frame, put in place at the start of the
    // next one (the frame's picture is drawn through the view its pivots
    // were placed with).
    bool viewPending = false;
    ViewTransform pendingView;

    // The main picture's captions, cut-off capture, error indicator cycle,
    // steam display state and the effects on the window's controls.
    DisplayState display;
    // What the current frame shows.
    FramePicture picture;
};

} // namespace vx
