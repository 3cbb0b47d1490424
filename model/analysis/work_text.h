// The work of the cylinder ends as text: the CSV rows a spreadsheet reads
// (vexlin-cli work --csv, the work window's Copy) and the table aligned for
// reading. Numbers through the program's formatter, whatever the locale.
// No I/O.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/analysis/position_text.h"
#include "model/analysis/work.h"

namespace vx {

inline constexpr std::string_view kWorkCsvHeader =
    "position,direction,end,admission,cutOff,release,compression,mep,mepRatio,steamPerStroke,steamPerWork,"
    "tractiveEffort\n";

// Two rows, front then rear: the position with 6 decimals; the events as
// the card uses them in percent of the stroke with 4; MEP with 4, MEP/p1,
// steam per stroke and per work with 6, the tractive effort (the same on
// both rows) with 2. Without a card the figures are empty and the events
// are the ones found. With Digits::Full every figure in the shortest form
// that reads back as the same double.
void AppendWorkCsv(std::string& out, const PositionWork& w, const PositionEvents& e, Digits digits = Digits::Fixed);
std::string WorkCsv(std::span<const PositionWork> work, std::span<const PositionEvents> events,
                    Digits digits = Digits::Fixed);

// The settings in one line ("p1 200, pb 18, c 0.08, n 1, 2 cylinders").
std::string WorkSettingsText(const WorkSettings& s);

// The unit of the tractive effort, in words.
inline constexpr std::string_view kTractiveEffortUnit =
    "(pressure unit) x (length unit)^2, e.g. lbf for psi and inches";
// The same with the length unit named: kTractiveEffortUnit for none,
// "(pressure unit) x mm^2, e.g. N for MPa" for millimetres.
std::string TractiveEffortUnitText(LengthUnit unit);

// One block per position: the position (and its offset from `centre`), the
// direction, then a row per quantity with the front and rear columns and
// front minus rear; the tractive effort; the cases of each card.
void AppendWorkTable(std::string& out, const PositionWork& w, float centre, const FigureStyle& style = {});

} // namespace vx
