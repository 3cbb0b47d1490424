// Number reading and writing for the command line: C locale always, whatever
// the process locale is.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx::cli {

// A whole text as a decimal (or hexadecimal) number, "nan" and "inf"
// included. Leading or trailing spaces or any other junk make it not a
// number. Values too large for a double give +-infinity.
std::optional<double> ParseNumber(std::string_view text);

// A double as a model float: values beyond the float range become
// +-infinity, NaN stays NaN.
float ToModelFloat(double v);

// Appends v the way printf's "%.9g" writes it in the C locale.
void AppendNumber(std::string& out, double v);

// A CSV field: quoted (with inner quotes doubled) only when it holds a
// comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view text);

// The text in double quotes, for messages.
std::string Quote(std::string_view s);

// Whether args[i] is the option `name`, as "--name VALUE" or "--name=VALUE";
// if so, value is set (left empty when the value is missing) and i is moved
// past it.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                std::optional<std::string>& value);

// Whether args[i] is "--out FILE" (or "--out=FILE"); if so, i is moved past
// it and `out` is set, or, without a file name, `error` says so.
bool TakeOutOption(const std::vector<std::string>& args, std::size_t& i, std::string& out, std::string& error);

// The switches every picture of the main window takes: whether args[i] is
// "--no-screen-data", "--steam" or "--large-font"; if so, sets that switch.
struct PictureSwitches {
    bool* screenData;
    bool* steam;
    bool* largeFont;
};
bool TakePictureSwitch(const std::string& arg, const PictureSwitches& switches);

// A numeric option and where its value goes.
struct NumberOption {
    std::string_view name;
    double* target;
};

// Reads every argument as one of `options` with a number. On a usage error
// returns false with the message, prefixed by "<command>: ", in `error`.
bool ReadNumberOptions(const std::vector<std::string>& args, std::span<const NumberOption> options,
                       std::string_view command, std::string& error);

} // namespace vx::cli
