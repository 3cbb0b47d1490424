// The unit the user draws in, for the labels only: the design file holds
// plain numbers in whatever one length unit the design was drawn in, and
// nothing is ever converted. The unit adds its symbol where a length is
// labelled ("Stroke 76.2 mm", "lead, mm"); None (the default) labels
// nothing, so every text reads as it does without a unit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

enum class LengthUnit : std::uint8_t { None, Inch, Millimetre };

// The unit's name as the settings and the command line spell it: "none",
// "in", "mm".
std::string_view LengthUnitName(LengthUnit unit);
// The unit of a name as LengthUnitName spells it (exactly), or nullopt.
std::optional<LengthUnit> ReadLengthUnit(std::string_view name);
// The names in order, for help texts and messages: "in, mm or none".
inline constexpr std::string_view kLengthUnitNames = "in, mm or none";

// The symbol a length carries: "in", "mm", "" for None.
std::string_view LengthUnitSymbol(LengthUnit unit);

// A length's number text with its symbol: "76.2 mm"; the text alone for None.
std::string LengthWithUnit(std::string_view number, LengthUnit unit);

// A row or column label of lengths with the unit: "lead, mm"; the label
// alone for None.
std::string LabelWithUnit(std::string_view label, LengthUnit unit);

// "length unit" (None) or the symbol, where a text names the unit of
// lengths in words ("lead per length unit" / "lead per mm").
std::string_view LengthUnitWords(LengthUnit unit);

} // namespace vx
