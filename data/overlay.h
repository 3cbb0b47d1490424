// The line and circle overlay: what the "Draw Lines" dialog does to the
// model and to the texts it shows, as plain functions. The dialog window only
// shows this state and passes the user's actions in; the main window reads
// the choices to know when a click on the picture hands a pivot back.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/state/gear_state.h"

namespace vx {

// Anchor pivots are searched among 1..26 (never the reference points).
constexpr int kLastAnchorPivot = 26;

// Pen colour numbers (0x00BBGGRR) of the six colour choices.
inline constexpr std::array<float, 6> kOverlayColorValues = {0, 255, 32768, 65535, 16711680, 8421504};
inline constexpr std::array<const char*, 2> kOverlayTypeNames = {"Line", "Circle"};
inline constexpr std::array<const char*, 6> kOverlayColorNames = {"Black", "Red", "Green",
                                                                   "Yellow", "Blue", "Gray"};
// The texts of a row; the radio items read "0,0" and "Piv1/Piv2" instead.
inline constexpr std::array<const char*, 4> kOverlayRefNames = {"0 , 0", "Pivot1", "Piv1/0,0", "Piv1/P2"};

// What a row of the dialog shows besides its item: its type, colour and
// reference texts (an index into the name tables, -1 empty) and the texts of
// its four boxes (vert1, horz1, vert2, horz2).
struct OverlayRowTexts {
    int type = -1;
    int color = -1;
    int ref = -1;
    std::array<std::string, 4> box;
};

struct OverlayDialogState {
    std::array<OverlayRowTexts, kOverlayItems + 1> rows; // rows 1..20
    bool drawEnabled = false;                            // "Draw Close"
};

// What a handler asks of the window: beeps to sound and whether the dialog
// closes (for a pivot pick on the main window, or because it is done).
struct OverlayEffects {
    int beeps = 0;
    bool close = false;
};

// The row boxes' number format: 3 decimals, right-aligned in at least 7
// characters, cut to 10. A number whose whole part does not fit in 10
// characters is written in exponent form instead of being cut.
std::string FormatOverlayNumber(float v);
// A value kept with at most 3 decimals: formatted as above and read back.
float RelativeOverlayValue(float v);
// The standard decimal conversion of a box: a text that is not a number
// gives 0; a number beyond the float range gives an infinity.
float ParseOverlayNumber(std::string_view text);

// The nearest of pivots 1..26 (without 19 and 20) to the point by the sum of
// the absolute differences, ties to the lower number; `previous` when none
// is nearer than 10000.
int NearestAnchorPivot(const PivotTable& piv, float x, float y, int previous);
// Binds anchor 1 or 2 of an item to the pivot nearest to reference point 1
// or 2 and records where that pivot stands now.
void BindOverlayAnchor(GearState& g, OverlayItem& item, int anchor, int refPivot);

// Turns the ends of a completed item into what it keeps (offsets from its
// anchors, a circle's radius) and writes its box texts. Returns false, and
// changes nothing, for a combination that is not finished (empty, or a
// circle anchored with "Piv1/0,0" or "Piv1/P2").
bool FinishOverlayItem(OverlayItem& item, float openRef1Horz, float openRef1Vert,
                       std::array<std::string, 4>& boxTexts);

// The dialog's handlers.
void OverlayActivate(GearState& g);
OverlayEffects OverlayTypeChoice(GearState& g, OverlayDialogState& d, int choice);
OverlayEffects OverlayColorChoice(GearState& g, OverlayDialogState& d, int choice);
OverlayEffects OverlayRefChoice(GearState& g, OverlayDialogState& d, int choice);
OverlayEffects OverlayDrawClose(GearState& g, OverlayDialogState& d);
void OverlayClearLine(GearState& g, OverlayDialogState& d);
void OverlayClose(GearState& g);
void OverlaySelectRow(GearState& g, OverlayDialogState& d, int row);
// Box 1..80 (row (box + 3) / 4) left with `text`: stored into its field.
void OverlayBoxExit(GearState& g, OverlayDialogState& d, int box, std::string_view text);
// Whether a box takes a typed character `key` ('\b' for backspace) given
// its text; the third box of a circle's row takes none.
bool OverlayBoxAcceptsKey(const OverlayDialogState& d, int box, std::string_view text, char key);

// The table refresh: every row's texts from its item.
void OverlayRefreshTable(const GearState& g, OverlayDialogState& d);
// Before a design is read: the type, colour and reference texts of every
// row emptied (the refresh afterwards leaves a text alone for a code it does
// not know).
void OverlayClearRowTexts(OverlayDialogState& d);
// After a design is opened: the texts emptied, then the table refreshed.
void OverlayDesignOpened(const GearState& g, OverlayDialogState& d);

// Both reference points exactly at 0, 0.
bool RefPointsAtOrigin(const GearState& g);

} // namespace vx
