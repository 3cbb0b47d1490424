#include "cli/field_reader.h"

#include "cli/text_io.h"

namespace vx::cli {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

} // namespace

const DimensionInfo* ReadField(std::string_view name) {
    for (const DimensionInfo& d : AllDimensions())
        if (SameIgnoringCase(d.field, name)) return &d;
    if (!name.empty() && name.size() < 6 && name.find_first_not_of("0123456789") == std::string_view::npos) {
        int id = 0;
        for (const char c : name) id = id * 10 + (c - '0');
        return FindDimension(id);
    }
    return nullptr;
}

std::string UnknownFieldMessage(std::string_view name) {
    return "unknown dimension field " + Quote(name) + " (\"dims\" lists them)";
}

} // namespace vx::cli
