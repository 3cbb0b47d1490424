// The captions of the windows that show the design name, the date and the
// time, one function per window kind. Each builds the text into a fixed
// buffer (no allocation) from the model and a clock. The frame sets all
// eight into the model on every frame; each window shows its own.
#pragma once

#include <string_view>

#include "model/gear_state.h"

namespace vx {

class Clock;

// "VEXLIN Outside Adm" + 12 spaces + name + 5 + date + 3 + time + 3 + "Version 2.8".
CaptionText MainWindowCaption(const GearState& g, const Clock& clock);
// "VEXLIN Outside Adm" + 6 spaces + "Sine Diagram" + 4 + name + 5 + date + 3 + time + 3 + "Version 2.8".
CaptionText SineDiagramCaption(const GearState& g, const Clock& clock);
// As the sine diagram's, with "Oval Diagram".
CaptionText OvalDiagramCaption(const GearState& g, const Clock& clock);
// As the sine diagram's, with "Steam Diagram".
CaptionText SteamDiagramCaption(const GearState& g, const Clock& clock);
// As the sine diagram's, with "Port Open/Closed".
CaptionText PortDiagramCaption(const GearState& g, const Clock& clock);
// "VEXLIN Outside Adm Pivot Data" + 3 + name + 5 + date + 3 + time + 3 + "Version 2.8".
CaptionText PivotDataCaption(const GearState& g, const Clock& clock);
// "Frame" + 2 + "VEXLIN Adm" + 2 + name + 2 + date + 2 + time.
CaptionText FrameDimensionsCaption(const GearState& g, const Clock& clock);
// "Cylin" + 2 + "VEXLIN Adm" + 2 + name + 2 + date + 2 + time.
CaptionText CylinderDimensionsCaption(const GearState& g, const Clock& clock);

// Any of the above by kind, and the same from texts already at hand.
CaptionText WindowCaption(WindowKind kind, const GearState& g, const Clock& clock);
CaptionText WindowCaption(WindowKind kind, std::string_view designName, std::string_view date,
                          std::string_view time);

// Frame step: the eight captions into g.display.captions. A null clock is
// the system clock.
void SetWindowCaptions(GearState& g, const Clock* clock);

} // namespace vx
