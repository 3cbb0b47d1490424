#include "data/overlay.h"

#include <cmath>
#include <limits>

#include "base/fixed_format.h"
#include "model/workspace/view.h"

namespace vx {

namespace {

// A double stored as a float; beyond the float range it becomes an infinity
// instead of an undefined conversion.
float StoreFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::infinity();
    if (v < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

OverlayItem& CurrentItem(GearState& g) {
    // The current item is kept within 1..20 by every writer; the index is
    // limited here as well so that nothing can reach outside the table.
    if (g.currentItem < 1) g.currentItem = 1;
    if (g.currentItem > kOverlayItems) g.currentItem = kOverlayItems;
    return g.overlay[static_cast<std::size_t>(g.currentItem)];
}

OverlayRowTexts& CurrentRow(GearState& g, OverlayDialogState& d) {
    CurrentItem(g);
    return d.rows[static_cast<std::size_t>(g.currentItem)];
}

bool AllChosen(const GearState& g) {
    const auto& c = g.overlayChoice;
    return c.type >= 0 && c.color >= 0 && c.ref >= 0;
}

void ClearChoices(GearState& g) { g.overlayChoice = {}; }

// Index of a stored code in a table of values, by the nearest integer; -1
// when it is none of them (a value from a file may be anything).
template <std::size_t N>
int CodeIndex(float v, const std::array<float, N>& values) {
    if (!std::isfinite(v)) return -1;
    const std::int32_t n = Nearest(v);
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<float>(n) == values[i]) return static_cast<int>(i);
    return -1;
}

} // namespace

std::string FormatOverlayNumber(float v) {
    char buf[kNumberBuffer];
    std::string s(FormatFixed(buf, v, 7, 3));
    const std::size_t point = s.find('.');
    if (point != std::string::npos && point > 10) {
        // The whole part alone is longer than the box's 10 characters:
        // cutting it would show (and keep) a number ten or more times too
        // small, so the exponent form is written instead.
        s.assign(FormatExponent(buf, v, 3));
        if (s.size() < 7) s.insert(0, 7 - s.size(), ' ');
    }
    if (s.size() > 10) s.resize(10);
    return s;
}

float RelativeOverlayValue(float v) {
    if (!std::isfinite(v)) return v;
    return ParseOverlayNumber(FormatOverlayNumber(v));
}

float ParseOverlayNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const std::optional<double> v = ReadNumber(text);
    if (!v) return 0;
    return StoreFloat(*v);
}

int NearestAnchorPivot(const PivotTable& piv, float x, float y, int previous) {
    float best = 10000;
    int found = previous;
    for (int n = 1; n <= kLastAnchorPivot; ++n) {
        if (n == kRefPoint1 || n == kRefPoint2) continue;
        const auto i = static_cast<std::size_t>(n);
        const float d = StoreFloat(std::fabs(static_cast<double>(y) - piv.y[i]) +
                                   std::fabs(static_cast<double>(x) - piv.x[i]));
        if (d < best) {
            best = d;
            found = n;
        }
    }
    return found;
}

void BindOverlayAnchor(GearState& g, OverlayItem& item, int anchor, int refPivot) {
    const auto r = static_cast<std::size_t>(refPivot);
    float& number = anchor == 1 ? item.anchorPivot1 : item.anchorPivot2;
    float& vert = anchor == 1 ? item.anchor1Vert : item.anchor2Vert;
    float& horz = anchor == 1 ? item.anchor1Horz : item.anchor2Horz;
    const int found = NearestAnchorPivot(g.piv, g.piv.x[r], g.piv.y[r], 0);
    if (found > 0) number = static_cast<float>(found);
    // A pivot number read from a file may be anything: one outside the
    // table anchors at the origin.
    const std::int32_t p = Nearest(number);
    if (p < 0 || p >= kPivotCount) {
        vert = 0;
        horz = 0;
        return;
    }
    vert = g.piv.y[static_cast<std::size_t>(p)];
    horz = g.piv.x[static_cast<std::size_t>(p)];
}

bool FinishOverlayItem(OverlayItem& it, float openRef1Horz, float openRef1Vert,
                       std::array<std::string, 4>& box) {
    auto rel = [](double v) { return RelativeOverlayValue(StoreFloat(v)); };
    auto radius = [](double dh, double dv) { return RelativeOverlayValue(StoreFloat(std::sqrt(dh * dh + dv * dv))); };
    if (it.kind == 0) {
        if (it.refMode == 1) {
            it.vert2 = rel(static_cast<double>(it.vert2) - it.anchor1Vert);
            it.horz2 = rel(static_cast<double>(it.horz2) - it.anchor1Horz);
        } else if (it.refMode == 3) {
            it.vert2 = rel(static_cast<double>(it.vert2) - it.anchor2Vert);
            it.horz2 = rel(static_cast<double>(it.horz2) - it.anchor2Horz);
        } else if (it.refMode != 0 && it.refMode != 2) {
            return false;
        }
        if (it.refMode != 0) {
            it.vert1 = rel(static_cast<double>(it.vert1) - it.anchor1Vert);
            it.horz1 = rel(static_cast<double>(it.horz1) - it.anchor1Horz);
        }
        box = {FormatOverlayNumber(it.vert1), FormatOverlayNumber(it.horz1),
               FormatOverlayNumber(it.vert2), FormatOverlayNumber(it.horz2)};
        return true;
    }
    if (it.kind == 1) {
        if (it.refMode == 0) {
            it.horz2 = radius(static_cast<double>(it.horz2) - it.horz1, static_cast<double>(it.vert2) - it.vert1);
        } else if (it.refMode == 1) {
            it.vert1 = rel(static_cast<double>(it.vert1) - it.anchor1Vert);
            it.horz1 = rel(static_cast<double>(it.horz1) - it.anchor1Horz);
            it.horz2 = radius(static_cast<double>(it.horz2) - openRef1Horz,
                              static_cast<double>(it.vert2) - openRef1Vert);
        } else {
            return false;
        }
        box = {FormatOverlayNumber(it.vert1), FormatOverlayNumber(it.horz1), std::string(),
               FormatOverlayNumber(it.horz2)};
        return true;
    }
    return false;
}

bool RefPointsAtOrigin(const GearState& g) {
    const auto p1 = static_cast<std::size_t>(kRefPoint1), p2 = static_cast<std::size_t>(kRefPoint2);
    return g.piv.x[p1] == 0 && g.piv.y[p1] == 0 && g.piv.x[p2] == 0 && g.piv.y[p2] == 0;
}

void OverlayActivate(GearState& g) {
    const int ref = g.overlayChoice.ref;
    const auto p1 = static_cast<std::size_t>(kRefPoint1);
    if (ref == -1) {
        g.openRef1Horz = g.piv.x[p1];
        g.openRef1Vert = g.piv.y[p1];
    }
    // Back from a pivot pick: the item being defined is still the current
    // one (the dialog does not step back when it closes for the pick, so the
    // current item never leaves 1..20).
    if (ref >= 1 && ref <= 3) BindOverlayAnchor(g, CurrentItem(g), 1, kRefPoint1);
    if (ref == 3) BindOverlayAnchor(g, CurrentItem(g), 2, kRefPoint2);
}

OverlayEffects OverlayTypeChoice(GearState& g, OverlayDialogState& d, int choice) {
    if (RefPointsAtOrigin(g)) {
        g.overlayChoice.type = -1;
        return {1, true};
    }
    if (choice < 0 || choice > 1) return {};
    g.overlayChoice.type = choice;
    CurrentRow(g, d).type = choice;
    if (AllChosen(g)) d.drawEnabled = true;
    return {};
}

OverlayEffects OverlayColorChoice(GearState& g, OverlayDialogState& d, int choice) {
    if (g.overlayChoice.type < 0) {
        g.overlayChoice.color = -1;
        return {1, false};
    }
    if (choice < 0 || choice > 5) return {};
    g.overlayChoice.color = choice;
    CurrentRow(g, d).color = choice;
    return {};
}

OverlayEffects OverlayRefChoice(GearState& g, OverlayDialogState& d, int r) {
    const int t = g.overlayChoice.type;
    if (t < 0 || g.overlayChoice.color < 0) {
        g.overlayChoice.ref = -1;
        return {1, false};
    }
    if (r < 0 || r > 3) return {};
    g.overlayChoice.ref = r;
    OverlayItem& it = CurrentItem(g);
    OverlayRowTexts& row = CurrentRow(g, d);
    const auto p1 = static_cast<std::size_t>(kRefPoint1), p2 = static_cast<std::size_t>(kRefPoint2);
    it.vert1 = g.piv.y[p1];
    it.horz1 = g.piv.x[p1];
    it.vert2 = g.piv.y[p2];
    it.horz2 = g.piv.x[p2];
    if (r == 0 || r == 1 || r == 3 || (r == 2 && t == 0)) {
        row.ref = r;
        it.refMode = static_cast<float>(r);
        if (r != 0) g.pivotPickPending = true;
    }
    d.drawEnabled = true;
    OverlayEffects e;
    if (r > 1 && t == 1) {
        // A circle is anchored to one pivot or none.
        e.beeps = 1;
        OverlayClearLine(g, d);
    }
    if (r == 1 || (r >= 2 && t == 0)) e.close = true;
    return e;
}

OverlayEffects OverlayDrawClose(GearState& g, OverlayDialogState& d) {
    OverlayItem& it = CurrentItem(g);
    const auto& c = g.overlayChoice;
    if (c.color >= 0 && c.color <= 5) it.color = kOverlayColorValues[static_cast<std::size_t>(c.color)];
    it.kind = static_cast<float>(c.type);
    if (AllChosen(g)) {
        std::array<std::string, 4> box;
        if (FinishOverlayItem(it, g.openRef1Horz, g.openRef1Vert, box)) CurrentRow(g, d).box = box;
    }
    OverlayEffects e{0, true};
    if (g.currentItem + 1 > kOverlayItems) {
        g.currentItem = kOverlayItems;
        e.beeps = 1;
    } else {
        ++g.currentItem;
    }
    d.drawEnabled = false;
    g.pivotPickPending = false;
    ClearChoices(g);
    return e;
}

void OverlayClearLine(GearState& g, OverlayDialogState& d) {
    // The finishing step that would run first leaves nothing behind: every
    // field and text it writes is cleared here.
    OverlayItem& it = CurrentItem(g);
    it.vert1 = it.horz1 = it.vert2 = it.horz2 = 0;
    it.anchor1Horz = it.anchor1Vert = it.anchor2Horz = it.anchor2Vert = 0;
    OverlayRowTexts& row = CurrentRow(g, d);
    row.box = {};
    row.type = row.color = row.ref = -1;
    it.kind = it.color = it.refMode = -1;
    ClearChoices(g);
    d.drawEnabled = false;
    g.pivotPickPending = false;
}

void OverlayClose(GearState& g) {
    ClearChoices(g);
    g.pivotPickPending = false;
}

void OverlaySelectRow(GearState& g, OverlayDialogState& d, int row) {
    if (row < 1 || row > kOverlayItems) return;
    g.currentItem = row;
    ClearChoices(g);
    d.drawEnabled = false;
    // With the choices gone no pick can complete: stop asking for one.
    g.pivotPickPending = false;
}

void OverlayBoxExit(GearState& g, OverlayDialogState& d, int box, std::string_view text) {
    if (box < 1 || box > 4 * kOverlayItems) return;
    const auto row = static_cast<std::size_t>((box + 3) / 4);
    const auto k = static_cast<std::size_t>((box - 1) % 4);
    OverlayItem& it = g.overlay[row];
    float* fields[4] = {&it.vert1, &it.horz1, &it.vert2, &it.horz2};
    *fields[k] = ParseOverlayNumber(text);
    d.rows[row].box[k] = std::string(text);
}

bool OverlayBoxAcceptsKey(const OverlayDialogState& d, int box, std::string_view text, char key) {
    if (box < 1 || box > 4 * kOverlayItems) return false;
    const auto row = static_cast<std::size_t>((box + 3) / 4);
    if ((box - 1) % 4 == 2 && d.rows[row].type == 1) return false; // a circle has no second point
    if (key == '\b' || (key >= '0' && key <= '9')) return true;
    if (key == '-' || key == '.') return text.find(key) == std::string_view::npos;
    return false;
}

void OverlayRefreshTable(const GearState& g, OverlayDialogState& d) {
    static constexpr std::array<float, 2> kKinds = {0, 1};
    static constexpr std::array<float, 4> kRefs = {0, 1, 2, 3};
    for (std::size_t i = 1; i <= kOverlayItems; ++i) {
        const OverlayItem& it = g.overlay[i];
        OverlayRowTexts& row = d.rows[i];
        if (it.kind > -1)
            row.box = {FormatOverlayNumber(it.vert1), FormatOverlayNumber(it.horz1),
                       FormatOverlayNumber(it.vert2), FormatOverlayNumber(it.horz2)};
        else
            row.box = {};
        if (const int k = CodeIndex(it.kind, kKinds); k >= 0) row.type = k;
        if (const int k = CodeIndex(it.color, kOverlayColorValues); k >= 0) row.color = k;
        if (const int k = CodeIndex(it.refMode, kRefs); k >= 0) row.ref = k;
    }
}

void OverlayClearRowTexts(OverlayDialogState& d) {
    for (OverlayRowTexts& row : d.rows) row.type = row.color = row.ref = -1;
}

void OverlayDesignOpened(const GearState& g, OverlayDialogState& d) {
    OverlayClearRowTexts(d);
    OverlayRefreshTable(g, d);
}

} // namespace vx
