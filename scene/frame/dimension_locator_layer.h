// The dimension locator: while locatorDimension names a dimension, each
// frame switches to a view chosen for it and draws the dimension as a thick
// blinking line with its name over the moving gear, with an hourglass sign
// at the left. After 1000 frames, or on the frame after a mouse press, the
// user's view comes back and locatorEnded tells the main window to show the
// editor again (the frame or the cylinder one, as locatorReopenCylinder says).
#pragma once

#include <span>
#include <string_view>

#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

void DrawDimensionLocator(GearState& g, Canvas& c);

// A mouse press on the main window while the locator runs: it ends at the
// next frame.
void EndLocator(GearState& g);

// The locator's view and name for a dimension id (tests and the editors).
struct LocatorView {
    std::string_view name;
    float n;          // zoom with the default graphic zoom factor 7.5
    bool setsPan;     // false: the user's pan is kept
    float panHorz, panVert;
};
// Null for an id the locator does not know.
const LocatorView* FindLocatorView(int id);
// Every id the locator knows, in table order.
std::span<const int> LocatorIds();

} // namespace vx
