// The rows of the frame and cylinder dimension editors (box, locate button,
// dimension id, label texts and places) and the texts the three editors
// draw on their own surface. One table per editor; the windows build their
// boxes and buttons from it and draw its labels through a Canvas.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

struct EditorRow {
    int box;    // number of the edit box and its locate button
    int id;     // dimension id
    int column; // 0: box at x 146, button at x 0; 1: box at x 342, button at x 194
    int boxY;
    std::string_view label;
    int labelX, labelY;
    std::string_view label2; // a second label line (cylinder rows 6 and 22)
    int label2X, label2Y;
    int buttonY, buttonWidth, buttonHeight;
};

constexpr int kEditorBoxX[2] = {146, 342};
constexpr int kEditorButtonX[2] = {0, 194};
constexpr int kEditorBoxWidth = 40;
constexpr int kEditorRowHeight = 13;

// Rows in the order the boxes are filled (left column, then right column).
std::span<const EditorRow> FrameEditorRows();    // 32 rows
std::span<const EditorRow> CylinderEditorRows(); // 22 rows

// Row i's label as one line of text: its padding closed up, a ditto row
// ("  "   Reverse) spelt out from the row above it (its last word replaced),
// and a second label line in brackets after it.
std::string EditorRowName(std::span<const EditorRow> rows, std::size_t i);

struct EditorText {
    int x, y;
    std::string_view text;
};
// The two instruction lines under each editor's columns.
std::span<const EditorText> FrameEditorNotes();
std::span<const EditorText> CylinderEditorNotes();

// The label style of the editors: the dialog font, black, transparent.
TextStyle EditorLabelStyle();

// Clears to `background` and draws the rows' labels and the notes, in the
// default layout (a dialog at the large font draws them through a
// ScaledCanvas).
void DrawEditorLabels(Canvas& c, std::span<const EditorRow> rows, std::span<const EditorText> notes,
                      Rgb background);

// The reverse arm positions editor: the scale line (Max, Rev, Cent, Fwd, Min
// from the centre and the travel), "Max of 9 Positions", "Vertical Scale" and
// the labels of the first `shownBoxes` position boxes.
void DrawRevArmEditorTexts(const GearState& g, Canvas& c, int shownBoxes, Rgb background);

// Position (left, top) of the reverse arm positions editor's box k: 1..9 the
// positions, 10 the vertical scale; width in `width`.
struct BoxPlace {
    int left, top, width;
};
BoxPlace RevArmEditorBox(int k);

} // namespace vx
