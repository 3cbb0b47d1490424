#include "scene/editors/editor_layout.h"

#include <array>
#include <string>

#include "base/fixed_format.h"
#include "base/typed_value.h"
#include "model/gear/reverse_arm.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

constexpr EditorRow Row(int box, int column, int y, std::string_view label, int lx, int buttonWidth = 8) {
    return {box, box, column, y, label, lx, y, {}, 0, 0, y, buttonWidth, kEditorRowHeight};
}
constexpr EditorRow CylRow(int box, int id, int column, int y, std::string_view label, int lx) {
    return {box, id, column, y, label, lx, y, {}, 0, 0, y, 8, kEditorRowHeight};
}
// A row whose label takes two lines; the box stands on the second line and
// the locate button spans both.
constexpr EditorRow CylRow2(int box, int id, int column, int labelY, std::string_view label, int lx,
                            std::string_view label2, int lx2) {
    return {box, id, column, labelY + kEditorRowHeight, label, lx, labelY, label2, lx2,
            labelY + kEditorRowHeight, labelY, 8, 2 * kEditorRowHeight};
}

constexpr std::array<EditorRow, 32> kFrameRows{{
    Row(1, 0, 0, "Driver                    Diameter", 10),
    Row(2, 0, 13, "Stroke                      Length", 10),
    Row(3, 0, 26, "Main Rod                 Length", 10),
    Row(4, 0, 39, "Eccentric Circle             Dia", 10),
    Row(5, 0, 52, "Eccentric                       Dia", 10),
    Row(6, 0, 65, "Eccentric Angle      Forward", 10),
    Row(7, 0, 78, "\"       \"          Reverse", 40),
    Row(8, 0, 91, "Eccentric Rod        Forward", 10),
    Row(9, 0, 104, "\"       \"          Reverse", 40),
    Row(10, 0, 117, "ExLink                      Length", 10),
    Row(11, 0, 130, "ExLink Support Pivot     Vert", 10),
    Row(28, 0, 143, "ExLink Support Pivot    BkS", 10),
    Row(12, 0, 156, "ExLink-Ecc Rod Pivot  Vert", 10),
    Row(13, 0, 169, "\"           \"     Back Set", 40),
    Row(27, 0, 182, "Rocker Pivot                 Vert", 10),
    Row(29, 0, 195, "Rocker Pivot                Horz", 10),
    Row(30, 1, 0, "Rocker Upper End TotalLen", 204, 7),
    Row(31, 1, 13, "Rocker Upper     Back Set", 204),
    Row(32, 1, 26, "Rocker Lower End    Length", 204),
    Row(14, 1, 39, "Lifting Link for           Ex Link", 204),
    Row(15, 1, 52, "Lifting Link for  Radius Rod", 204),
    Row(16, 1, 65, "Radius Rod    Total Length", 204),
    Row(17, 1, 78, "Radius Rod         Short End", 204),
    Row(18, 1, 91, "Lifting Arm          ExLink End", 204),
    Row(19, 1, 104, "\"                     \"    Angle", 224),
    Row(20, 1, 117, "LiftingArm Radius Rod  End", 204),
    Row(21, 1, 130, "\"                     \"    Angle", 224),
    Row(22, 1, 143, "Reverse Arm            Length", 204),
    Row(23, 1, 156, "Rev/Lift Arm Pivot         Vert", 204),
    Row(24, 1, 169, "\"         \"               Horz", 234),
    Row(25, 1, 182, "Reverse Arm to Cent   Norm", 204),
    Row(26, 1, 195, "\"           \"             Max", 234),
}};

constexpr std::array<EditorRow, 22> kCylinderRows{{
    CylRow(1, 101, 0, 0, "Cylinder ctr to Driver ctr", 10),
    CylRow(2, 102, 0, 13, "Cylinder CL above Driver", 10),
    CylRow(3, 103, 0, 26, "Cylinder Bore         Diameter", 10),
    CylRow(4, 104, 0, 39, "Cylinder Bore            Length", 10),
    CylRow(5, 105, 0, 52, "Cylinder Steam Port   Width", 10),
    CylRow2(6, 106, 0, 65, "Piston ctr to Crosshead ctr", 10, "(Piston Rod)", 82),
    CylRow(7, 107, 0, 91, "Piston                         Width", 10),
    CylRow(8, 108, 0, 104, "ValveSurface to CylinderCL", 10),
    CylRow(9, 109, 0, 117, "Valve Stem CL to Cyl CL", 10),
    CylRow(10, 110, 0, 130, "Exhaust Port               Width", 10),
    CylRow(11, 111, 0, 143, "Bridge Width                Rear", 10),
    CylRow(12, 112, 0, 156, "Bridge Width                Front", 10),
    CylRow(13, 113, 1, 0, "Steam Port Width        Rear", 204),
    CylRow(14, 114, 1, 13, "Steam Port Width        Front", 204),
    CylRow(15, 115, 1, 26, "Valve Chamber        Height", 204),
    CylRow(16, 116, 1, 39, "Valve Chamber        Length", 204),
    CylRow(17, 117, 1, 52, "Valve Height", 204),
    CylRow(18, 118, 1, 65, "Valve Length       Rear Half", 204),
    CylRow(19, 119, 1, 78, "Valve Length       Front Half", 204),
    CylRow(20, 120, 1, 91, "Valve ExhCavity  Rear Half", 204),
    CylRow(21, 121, 1, 104, "Valve ExhCavity  Front Half", 204),
    CylRow2(22, 122, 1, 117, "Valve ctr to Joint", 204, "  (Valve Stem)", 266),
}};

constexpr std::array<EditorText, 2> kFrameNotes{{
    {1, 218, "To Show Graphic Position of Variable, Click Small Button"},
    {1, 231, "To Select Dynamic Variable, Click Dimension in Gray Area"},
}};
constexpr std::array<EditorText, 2> kCylinderNotes{{
    {1, 190, "To Show Graphic Position of Variable, Click Small Button"},
    {1, 203, "To Select a Dynamic Variable, Click Dimension in Gray Area"},
}};

} // namespace

std::string EditorRowName(std::span<const EditorRow> rows, std::size_t i) {
    if (i >= rows.size()) return {};
    const auto words = [](std::string_view text) {
        std::string out;
        for (const char ch : text) {
            if (ch == ' ' && (out.empty() || out.back() == ' ')) continue;
            out += ch;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    };
    std::string name = words(rows[i].label);
    if (!name.empty() && name.front() == '"' && i > 0) {
        // The dittos stand for the row above but its last word.
        const std::size_t last = name.rfind('"');
        const std::string rest = words(name.substr(last + 1));
        std::string above = EditorRowName(rows, i - 1);
        const std::size_t cut = above.rfind(' ');
        name = (cut == std::string::npos ? above : above.substr(0, cut)) + " " + rest;
    }
    if (!rows[i].label2.empty()) name += " " + words(rows[i].label2);
    return name;
}

std::span<const EditorRow> FrameEditorRows() { return kFrameRows; }
std::span<const EditorRow> CylinderEditorRows() { return kCylinderRows; }
std::span<const EditorText> FrameEditorNotes() { return kFrameNotes; }
std::span<const EditorText> CylinderEditorNotes() { return kCylinderNotes; }

TextStyle EditorLabelStyle() {
    TextStyle st;
    st.face = FontFace::Sans;
    st.pixelSize = 11;
    st.color = colors::kBlack;
    return st;
}

void DrawEditorLabels(Canvas& c, std::span<const EditorRow> rows, std::span<const EditorText> notes,
                      Rgb background) {
    c.Clear(background);
    const TextStyle st = EditorLabelStyle();
    for (const EditorRow& r : rows) {
        c.Text(r.labelX, r.labelY, r.label, st);
        if (!r.label2.empty()) c.Text(r.label2X, r.label2Y, r.label2, st);
    }
    for (const EditorText& t : notes) c.Text(t.x, t.y, t.text, st);
}

BoxPlace RevArmEditorBox(int k) {
    if (k == 10) return {112, 25, 40};
    if (k >= 1 && k <= 4) return {112, 25 + 13 * k, 40};
    if (k >= 5 && k <= 9) return {271, 25 + 13 * (k - 5), 39};
    return {0, 0, 0};
}

void DrawRevArmEditorTexts(const GearState& g, Canvas& c, int shownBoxes, Rgb background) {
    c.Clear(background);
    const TextStyle st = EditorLabelStyle();
    const TravelLandmarks t = TravelLandmarksOf(g);

    // The scale line: reverse positions lie above the centre, forward below.
    struct Mark {
        int x;
        const char* prefix;
        double value;
        std::size_t cut;
    };
    const Mark marks[5] = {
        {10, "Max ", t.max, 14}, {75, "Rev ", t.rev, 14}, {140, "Cent ", t.cen, 15},
        {205, "Fwd ", t.fwd, 14}, {270, "Min ", t.min, 14},
    };
    for (const Mark& m : marks) {
        std::string text = m.prefix;
        text += FormatWD(static_cast<float>(m.value), 5, 3, 1000);
        if (text.size() > m.cut) text.resize(m.cut);
        c.Text(m.x, 4, text, st);
    }

    c.Text(13, 98, "Max of 9 Positions", st);
    c.Text(13, 25, "Vertical Scale", st);
    char number[kNumberBuffer];
    std::string label;
    for (int k = 1; k <= shownBoxes && k <= kRevArmPositions; ++k) {
        label = "Rev Arm Position  ";
        label += FormatInt(number, k, 0);
        const int lx = k <= 4 ? 13 : 165;
        c.Text(lx, RevArmEditorBox(k).top, label, st);
    }
}

} // namespace vx
