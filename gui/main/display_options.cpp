#include "gui/main/display_options.h"

#include "model/gear/design_validity.h"

#include <QAction>
#include <QDialog>
#include <QLayout>
#include <QMenuBar>
#include <QToolBar>
#include <QToolTip>
#include <QMainWindow>
#include <QWidget>
#include <algorithm>

#include "gui/controls/control_scale.h"
#include "gui/controls/menu_bar_fit_form.h"
#include "gui/main/main_window_style.h"
#include "model/state/geometry_error.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

// Controls hidden while the screen data is off.
constexpr const char* kHiddenWithoutScreenData[] = {
    "Panel1",     "Panel2",     "Panel3",     "Panel4",     "Panel5",     "Panel6",    "Panel7",
    "Panel8",     "Panel9",     "Panel10",    "Panel11",    "Panel12",    "Preset1",   "Preset2",
    "Preset3",    "Preset4",    "Preset5",    "Preset6",    "Preset0",    "NormVHZ",   "RefPt1",
    "RefPt2",     "SBPanVert",  "SBPanHorz",  "SBZoom",     "Rev",        "Center",    "Fwd",
    "Deg180",     "Run",        "Deg00",      "Step1",      "Step10",     "Step45",    "SBRevArm",
    "SBDrvAng",   "SBStepAng",  "RefPt1Zero", "RefPt2Zero", "SBRef1Vert", "SBRef1Horz", "SBRef2Vert",
    "SBRef2Horz", "SBDynVar1",  "SBDynVar2",  "SBDynVar3",  "SBDynVar4",  "ToolBar1",  "DataTableBut",
};

// Controls shown again when it comes back on (the displays' own controls
// stay hidden: the displays stay off).
constexpr const char* kShownWithScreenData[] = {
    "Panel1",    "Panel2",   "Panel3",   "Panel4", "Panel9", "Panel10", "Panel12",  "Preset1",  "Preset2",
    "Preset3",   "Preset4",  "Preset5",  "Preset6", "Preset0", "NormVHZ", "RefPt1",  "RefPt2",   "SBPanVert",
    "SBPanHorz", "SBZoom",   "Rev",      "Center", "Fwd",    "Deg180",  "Run",      "Deg00",    "Step1",
    "Step10",    "Step45",   "SBRevArm", "SBDrvAng", "SBStepAng", "ToolBar1",
};

// Menu items (and tool bar actions) disabled while the screen data is off;
// all but the last are enabled again when it comes back.
constexpr const char* kDisabledWithoutScreenData[] = {
    "DriverAng", "FindRevArmCent", "DynamicVariables", "RefPoints", "SetPivotData", "DrawLines1", "ToolDrawLines",
};
constexpr const char* kEnabledWithScreenData[] = {
    "DriverAng", "FindRevArmCent", "DynamicVariables", "RefPoints", "SetPivotData",
};

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

DisplayOptions::DisplayOptions(QMainWindow& window, GearState& model, std::function<void()> displaysOff)
    : window_(window), model_(model), displaysOff_(std::move(displaysOff)) {
    if (const QWidget* client = window_.centralWidget()) defaultClient_ = client->minimumSize();
}

void DisplayOptions::SetActionText(const char* name, const char* text) {
    if (auto* a = window_.findChild<QAction*>(QString::fromUtf8(name))) a->setText(QString::fromUtf8(text));
}

void DisplayOptions::SetSteamClick() {
    model_.steamDisplayOn = !model_.steamDisplayOn;
    SetActionText("SetSteam", model_.steamDisplayOn ? "SetS&teamDisp Off" : "SetS&teamDisp On");
}

void DisplayOptions::SetErrorBeepClick() {
    model_.errorBeepOn = !model_.errorBeepOn;
    SetActionText("SetBeepOnError", model_.errorBeepOn ? "Set&ErrorBeep Off" : "Set&ErrorBeep On");
}

void DisplayOptions::SetLineWidthClick() {
    const bool wide = model_.lineWidth == 1;
    model_.lineWidth = wide ? 2 : 1;
    SetActionText("SetLineWidth", wide ? "Set&LineWidth 1" : "Set&LineWidth 2");
}

void DisplayOptions::LargeFontClick() {
    const bool large = !(model_.textScaleX != 1.0f); // small now: make it large
    model_.textScaleX = large ? 1.27f : 1.0f;
    model_.textScaleY = large ? 1.22f : 1.0f;
    SetActionText("LargeFont", large ? "SetSmall&Font" : "SetLarge&Font");
    ApplyTextScale();
}

void DisplayOptions::ApplyTextScale() {
    // The window at the large font is the default window, larger: its
    // controls, its menu bar and its fixed texts (drawn by the frame) move
    // and grow by the same factors, and the client area with them.
    QWidget* client = window_.centralWidget();
    if (client == nullptr) return;
    const float sx = SaneTextScale(model_.textScaleX), sy = SaneTextScale(model_.textScaleY);
    QMenuBar* bar = window_.menuBar();
    const QSize before(window_.width(), window_.height() - (bar != nullptr ? bar->sizeHint().height() : 0));
    const QSize oldLeast = client->minimumSize();
    ScaleControls(client, sx, sy);
    const QSize least(ScaledLength(defaultClient_.width(), sx), ScaledLength(defaultClient_.height(), sy));
    client->setMinimumSize(least);
    if (bar != nullptr) {
        FitMenuBarFont(bar, least.width(), sy);
        ScaleMenus(bar, sy);
    }
    QToolTip::setFont(UiFont(UiFace::Sans, ScaledLength(kHintPixels, sy)));
    // A client at the least size of the other font takes the least size of
    // this one; a larger client only grows as far as it must.
    const QSize want = before == oldLeast ? least : before.expandedTo(least);
    // The window's least size follows the client's before it is resized.
    if (QLayout* layout = window_.layout()) layout->activate();
    window_.resize(want.width(), want.height() + (bar != nullptr ? bar->sizeHint().height() : 0));
    if (auto* tools = client->findChild<QToolBar*>(QString(), Qt::FindDirectChildrenOnly))
        tools->setGeometry(0, 0, want.width(), tools->height());
    // The program's other windows, all hidden now (they are modal): each
    // shows at this scale. Those that draw their own pictures size them
    // when they are shown.
    for (QDialog* d : window_.findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly)) ScaleControls(d, sx, sy);
}

void DisplayOptions::SetScreenDataClick() {
    const bool on = !model_.screenDataOn;
    model_.screenDataOn = on;
    SetActionText("SetScreenData", on ? "SetScree&nData Off" : "SetScree&nData On");
    auto setVisible = [this](const char* name, bool visible) {
        if (auto* w = window_.findChild<QWidget*>(QString::fromUtf8(name))) w->setVisible(visible);
    };
    auto setEnabled = [this](const char* name, bool enabled) {
        if (auto* a = window_.findChild<QAction*>(QString::fromUtf8(name))) a->setEnabled(enabled);
    };
    auto* refPoints1 = window_.findChild<QAction*>(QStringLiteral("RefPoints1"));
    if (!on) {
        for (const char* name : kHiddenWithoutScreenData) setVisible(name, false);
        for (const char* name : kDisabledWithoutScreenData) setEnabled(name, false);
        if (refPoints1) refPoints1->setVisible(false);
        if (displaysOff_) displaysOff_();
    } else {
        for (const char* name : kShownWithScreenData) setVisible(name, true);
        for (const char* name : kEnabledWithScreenData) setEnabled(name, true);
        if (refPoints1) refPoints1->setVisible(true);
    }
}

void DisplayOptions::ApplyControls(const ControlEffects& e) {
    if (auto* error = window_.findChild<QAction*>(QStringLiteral("Error"))) {
        if (e.errorVisible) {
            // A design that is not usable names its first bad dimension.
            if (const DesignFault fault = CheckDesignValidity(model_); fault.Any()) {
                error->setToolTip(Text("Not a usable design: " + DescribeDesignFault(fault)));
            } else {
                char words[160];
                const std::size_t n = FormatGeometryCause(e.errorCause, e.errorAngle, words, sizeof words);
                error->setToolTip(Text(std::string_view(words, n)));
            }
        }
        error->setVisible(e.errorVisible);
    }
    if (auto* undo = window_.findChild<QWidget*>(QStringLiteral("UnDoDn"))) undo->setVisible(e.undoVisible);
    // The bars' enabling follows the slots only while the lines are drawn.
    for (int n = 1; n <= 4; ++n) {
        auto* bar = window_.findChild<QWidget*>(QStringLiteral("SBDynVar%1").arg(n));
        if (bar) bar->setEnabled(e.dynVarBarEnabled[static_cast<std::size_t>(n)]);
    }
}

void DisplayOptions::ApplyFrameEffects(const std::array<QWidget*, kCaptionWindows>& windows) {
    const ControlEffects& e = model_.display.controls;
    if (!appliedOnce_ || !(e == applied_)) {
        ApplyControls(e);
        applied_ = e;
        appliedOnce_ = true;
    }
    for (std::size_t k = 0; k < windows.size(); ++k) {
        QWidget* w = windows[k];
        if (w == nullptr) continue;
        const CaptionText& caption = model_.display.captions[k];
        if (captionTargets_[k] == w && appliedCaptions_[k] == caption) continue;
        w->setWindowTitle(Text(caption.View()));
        appliedCaptions_[k] = caption;
        captionTargets_[k] = w;
    }
}

} // namespace vx
