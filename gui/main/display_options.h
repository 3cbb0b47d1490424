// The main window's display options (the SetUp menu's steam display, error
// beep, line width, large font and screen data items, and the steam tool
// button), and what the picture's layers ask of the window's controls after
// each frame (captions, the `Error` item, `UnDoDn`, the dynamic-variable
// bars). Controls are found by object name, so controls added to the window
// later are covered as soon as they exist.
#pragma once

#include <array>
#include <functional>
#include <QSize>

#include "model/state/gear_state.h"

class QMainWindow;
class QWidget;

namespace vx {

class DisplayOptions {
public:
    // `displaysOff` switches the dynamic variables, reference points and
    // pivot data displays off (screen data going off).
    DisplayOptions(QMainWindow& window, GearState& model, std::function<void()> displaysOff);

    void SetSteamClick();
    void SetErrorBeepClick();
    void SetLineWidthClick();
    void LargeFontClick();
    // The window's controls, menu bar and least size at the model's text
    // scale.
    void ApplyTextScale();
    void SetScreenDataClick();

    // After each frame: the layers' control effects and the captions, each
    // applied only when it changed. `windows` holds the window of each
    // WindowKind (null while it does not exist).
    void ApplyFrameEffects(const std::array<QWidget*, kCaptionWindows>& windows);

private:
    void SetActionText(const char* name, const char* text);
    void ApplyControls(const ControlEffects& e);

    QMainWindow& window_;
    GearState& model_;
    std::function<void()> displaysOff_;
    QSize defaultClient_; // the client area's least size at the default font
    ControlEffects applied_;
    bool appliedOnce_ = false;
    std::array<CaptionText, kCaptionWindows> appliedCaptions_{};
    std::array<QWidget*, kCaptionWindows> captionTargets_{};
};

} // namespace vx
