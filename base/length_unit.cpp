#include "base/length_unit.h"

namespace vx {

std::string_view LengthUnitName(LengthUnit unit) {
    switch (unit) {
    case LengthUnit::Inch: return "in";
    case LengthUnit::Millimetre: return "mm";
    case LengthUnit::None: break;
    }
    return "none";
}

std::optional<LengthUnit> ReadLengthUnit(std::string_view name) {
    for (const LengthUnit u : {LengthUnit::None, LengthUnit::Inch, LengthUnit::Millimetre})
        if (name == LengthUnitName(u)) return u;
    return std::nullopt;
}

std::string_view LengthUnitSymbol(LengthUnit unit) { return unit == LengthUnit::None ? "" : LengthUnitName(unit); }

std::string LengthWithUnit(std::string_view number, LengthUnit unit) {
    std::string out(number);
    if (unit != LengthUnit::None) {
        out += ' ';
        out += LengthUnitSymbol(unit);
    }
    return out;
}

std::string LabelWithUnit(std::string_view label, LengthUnit unit) {
    std::string out(label);
    if (unit != LengthUnit::None) {
        out += ", ";
        out += LengthUnitSymbol(unit);
    }
    return out;
}

std::string_view LengthUnitWords(LengthUnit unit) {
    return unit == LengthUnit::None ? "length unit" : LengthUnitSymbol(unit);
}

} // namespace vx
