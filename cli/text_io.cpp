#include "cli/text_io.h"

#include <cmath>
#include <limits>

#include "model/fixed_format.h"

namespace vx::cli {

std::optional<double> ParseNumber(std::string_view text) { return ReadNumber(text); }

float ToModelFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isfinite(v) && std::fabs(v) > kMax) return std::signbit(v) ? -std::numeric_limits<float>::infinity()
                                                                         : std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

void AppendNumber(std::string& out, double v) {
    char buf[kNumberBuffer];
    out += FormatGeneral9(buf, v);
}

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

std::string Quote(std::string_view s) {
    std::string q;
    q.reserve(s.size() + 2);
    q.push_back('"');
    q.append(s);
    q.push_back('"');
    return q;
}

bool TakeOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                std::optional<std::string>& value) {
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 < args.size()) value = args[++i];
        return true;
    }
    if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
        value = a.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool TakeOutOption(const std::vector<std::string>& args, std::size_t& i, std::string& out, std::string& error) {
    std::optional<std::string> value;
    if (!TakeOption(args, i, "--out", value)) return false;
    if (!value || value->empty())
        error = "--out needs a file name";
    else
        out = *value;
    return true;
}

bool TakePictureSwitch(const std::string& arg, const PictureSwitches& switches) {
    if (arg == "--no-screen-data") *switches.screenData = false;
    else if (arg == "--steam") *switches.steam = true;
    else if (arg == "--large-font") *switches.largeFont = true;
    else return false;
    return true;
}

bool ReadNumberOptions(const std::vector<std::string>& args, std::span<const NumberOption> options,
                       std::string_view command, std::string& error) {
    const std::string prefix = std::string(command) + ": ";
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool matched = false;
        for (const NumberOption& n : options) {
            std::optional<std::string> value;
            if (!TakeOption(args, i, n.name, value)) continue;
            matched = true;
            if (!value) {
                error = prefix + std::string(n.name) + " needs a number";
                return false;
            }
            const auto v = ParseNumber(*value);
            if (!v) {
                error = prefix + "not a number: " + Quote(*value) + " (for " + std::string(n.name) + ")";
                return false;
            }
            *n.target = *v;
            break;
        }
        if (!matched) {
            error = prefix + "unknown option " + Quote(args[i]);
            return false;
        }
    }
    return true;
}

} // namespace vx::cli
