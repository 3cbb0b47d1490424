// Number reading and writing for the command line: C locale always, whatever
// the process locale is.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_format.h"

namespace vx::cli {

// A whole text as a decimal number, "nan" and "inf" included. Leading or
// trailing spaces, hexadecimal ("0x10") or any other junk make it not a
// number. Values too large for a double give +-infinity.
std::optional<double> ParseNumber(std::string_view text);

// A value for the model (a dimension): a decimal number that a 32-bit float
// holds without becoming something else. Refused, with `why` set: junk,
// hexadecimal, a finite value beyond the float range (it would be an
// infinity) and one not 0 that would become 0. "nan" and "inf" as typed are
// read (the validity gate refuses them where the design is used).
std::optional<float> ParseModelValue(std::string_view text, std::string& why);

// Reads a whole file of at most `most` bytes into text. Returns "" when it
// was read, else the reason (the system's, e.g. "Is a directory", or that it
// is too large). Never throws.
std::string ReadSmallFile(const std::string& path, std::size_t most, std::string& text);

using vx::ToModelFloat;

// Appends a model value in the shortest form that reads back as the same
// 32-bit value (FormatShortest).
void AppendNumber(std::string& out, float v);

// A CSV field: quoted (with inner quotes doubled) only when it holds a
// comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view text);

// The words of a comma-separated list ("a,,b" has an empty middle word); an
// empty text gives none.
std::vector<std::string> SplitList(const std::string& text);

// The text with its ASCII capitals made small, for the option values read
// in any case ("Forward", "A4", "MM").
std::string LowerAscii(std::string_view text);

// The text in double quotes, for messages: control bytes (and bytes that
// are not UTF-8) shown as \xNN, never sent to the terminal; a text longer
// than 80 bytes cut with "...".
std::string Quote(std::string_view s);

// Whether args[i] is the option `name`, as "--name VALUE" or "--name=VALUE";
// if so, value is set (left empty when the value is missing) and i is moved
// past it.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                std::optional<std::string>& value);

} // namespace vx::cli
