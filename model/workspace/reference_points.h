// Reference points and pivot picking, model side: the nearest-pivot search,
// the reference bars' jog step, centring the view on a point, and the rules
// of a mouse press on the main picture. The points themselves are pivots 19
// and 20 of the pivot table; the modes and pick slots live in GearState.
#pragma once

#include <functional>

#include "model/state/gear_state.h"

namespace vx {

// Reference point 1 or 2 as a world point.
inline float& RefX(GearState& g, int point) { return g.piv.x[point == 1 ? kRefPoint1 : kRefPoint2]; }
inline float& RefY(GearState& g, int point) { return g.piv.y[point == 1 ? kRefPoint1 : kRefPoint2]; }

// The pivot nearest to (x, y) by the sum of absolute differences
// |y - Y(i)| + |x - X(i)|, over pivots 1..29 except the reference points 19
// and 20. The first pivot strictly below the best so far wins (ties go to the
// lower number); the best starts at 10000, so when no pivot is nearer than
// that (or the point is not a number) `previous` is returned.
int NearestPivot(const PivotTable& piv, float x, float y, int previous);

// The four reference bars, in the order of GearState::refJog.
enum RefBar { kRef1Vert = 0, kRef1Horz = 1, kRef2Vert = 2, kRef2Horz = 3 };

// One jog step of reference bar `bar` to position p (d = p / 1000, special
// steps 1 and 25): adds d to the bar's coordinate. Returns the point (1 or 2)
// that moved, whose zero button the caller enables.
int ReferenceBarStep(GearState& g, int bar, int p);

// Reference point 1 or 2 to (0, 0).
void ZeroReferencePoint(GearState& g, int point);

// Centring the view on reference point 1 or 2: the point is put at pixel
// (320, 240) by the pan values, and the positions the caller then gives the
// horizontal and vertical pan bars (each a jog of its own, which moves the
// pan once more by its rules) are returned, limited to the bars' -500..500.
struct CentreBars {
    int panHorz = 0;
    int panVert = 0;
};
CentreBars CentreOnReferencePoint(GearState& g, int point);

// What the main window's lines-and-circles dialog has chosen, for the
// hand-off of a picked pivot: the dialog reports whether a type and a colour
// are chosen and its reference choice (-1 none, 0 "0,0", 1 "Pivot1",
// 2 "Piv1/0,0", 3 "Piv1/Piv2").
struct OverlayPickQuery {
    bool typeAndColourChosen = false;
    int refChoice = -1;
};

enum class PressButton { Left, Right, Other };

// What a press asks of the window besides the model changes it made.
struct PressOutcome {
    bool enableRefPt1Zero = false;
    bool enableRefPt2Zero = false;
    bool openDrawLines = false; // reopen the lines-and-circles dialog
    bool endLocator = false;    // a dimension is being located: end it
};

// The label zone of pick slot k (1..6) in the pivot data display, in client
// pixels, open bounds: top < y < bottom, 0 < x < right.
struct SlotZone {
    int top, bottom, right;
};
SlotZone PickSlotZone(const GearState& g, int k);

// Whether a client pixel lies outside the control panel in the top-left
// corner, where a press sets a reference point.
inline bool OutsideControlPanel(int x, int y) { return y > 120 || (y > 67 && x > 247); }

// A mouse press on the main picture at client pixel (x, y), its rules in
// order: reference point 1 (left) or 2 (right) outside the control panel;
// the hand-off to the lines-and-circles dialog (left with a reference choice
// 0..2, or right after a left with choice 3); the left-click-seen flag;
// filling an armed pick slot with the pivot nearest to the press; arming a
// slot by a press on its label; ending the dimension locator. The hand-off
// calls openDrawLines at its step, so the dialog (shown modally there) runs
// before the rules after it.
PressOutcome PressOnPicture(GearState& g, int x, int y, PressButton button, const OverlayPickQuery& overlay,
                            const std::function<void()>& openDrawLines = {});

} // namespace vx
