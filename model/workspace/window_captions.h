// The captions of the windows that show the design name, the date and the
// time, each built into a fixed buffer (no allocation). The main window sets
// all eight into the frame state on every frame; each window shows its own.
#pragma once

#include <string_view>

#include "model/state/gear_state.h"

namespace vx {

// The caption of a window kind:
// - Main: "VEXLIN Outside Adm" + 12 spaces + name + 5 + date + 3 + time + 3 + "Version 2.8".
// - SineDiagram: "VEXLIN Outside Adm" + 6 spaces + "Sine Diagram" + 4 + name + 5 + date + 3 + time + 3 +
//   "Version 2.8"; OvalDiagram, SteamDiagram and PortDiagram likewise with "Oval Diagram",
//   "Steam Diagram" and "Port Open/Closed".
// - PivotData: "VEXLIN Outside Adm Pivot Data" + 3 + name + 5 + date + 3 + time + 3 + "Version 2.8".
// - FrameDimensions: "Frame" + 2 + "VEXLIN Adm" + 2 + name + 2 + date + 2 + time; CylinderDimensions
//   likewise with "Cylin".
// "Version 2.8" is "Version " and the program's version (VEXLIN_VERSION).
CaptionText WindowCaption(WindowKind kind, std::string_view designName, std::string_view date,
                          std::string_view time);

// The eight captions into f.display.captions.
void SetWindowCaptions(FrameState& f, std::string_view designName, std::string_view date, std::string_view time);

} // namespace vx
