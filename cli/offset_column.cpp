#include "cli/offset_column.h"

#include <map>

#include "base/fixed_format.h"

namespace vx::cli {

std::string WithOffsetColumn(std::string_view csv, std::span<const double> positions, std::span<const float> offsets,
                             int positionField) {
    std::map<std::string, std::string, std::less<>> offsetOf;
    char buf[kNumberBuffer];
    for (std::size_t i = 0; i < positions.size() && i < offsets.size(); ++i) {
        // The position as the writers give it: 6 decimals, or every digit.
        offsetOf.emplace(FixedString(positions[i], 6), ShortestString(offsets[i]));
        offsetOf.emplace(std::string(FormatRoundTrip(buf, positions[i])), ShortestString(offsets[i]));
    }
    std::string out;
    out.reserve(csv.size() + csv.size() / 8);
    bool header = true;
    while (!csv.empty()) {
        const auto end = csv.find('\n');
        const std::string_view line = csv.substr(0, end);
        csv = end == std::string_view::npos ? std::string_view{} : csv.substr(end + 1);
        out += line;
        if (header) {
            out += ",offset\n";
            header = false;
            continue;
        }
        // The position field: positionField commas in.
        std::size_t start = 0;
        for (int k = 0; k < positionField && start != std::string_view::npos; ++k) {
            start = line.find(',', start);
            if (start != std::string_view::npos) ++start;
        }
        std::string_view field;
        if (start != std::string_view::npos) field = line.substr(start, line.find(',', start) - start);
        out += ',';
        if (const auto it = offsetOf.find(field); it != offsetOf.end()) out += it->second;
        out += '\n';
    }
    return out;
}

} // namespace vx::cli
