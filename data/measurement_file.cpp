#include "data/measurement_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "base/fixed_format.h"

namespace vx {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// What a message shows of a field: its first 40 characters, in quotes,
// control characters as "?".
std::string Shown(std::string_view s) {
    std::string r = "\"";
    for (const char c : s.substr(0, 40)) r += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    if (s.size() > 40) r += "...";
    return r + "\"";
}

// The fields of one CSV line: separated by commas, a field in double quotes
// may hold commas and doubled quotes. False for an unclosed quote.
bool SplitFields(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && Trim(field).empty()) {
            quoted = wasQuoted = true;
            field.clear();
        } else if (c == ',') {
            fields.push_back(wasQuoted ? field : std::string(Trim(field)));
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted) return false;
    fields.push_back(wasQuoted ? field : std::string(Trim(field)));
    return true;
}

enum Column { kOffset, kDirection, kEnd, kEvent, kValue, kUnit, kWeight, kNote, kColumns };
constexpr std::array<std::string_view, kColumns> kColumnNames = {"offset", "direction", "end",    "event",
                                                                  "value",  "unit",      "weight", "note"};
constexpr int kRequiredColumns = kWeight; // offset .. unit

// A finite decimal number; hexadecimal, "inf" and "nan" are not measurements.
std::optional<double> FiniteNumber(std::string_view text) {
    if (text.find_first_of("xXpP") != std::string_view::npos) return std::nullopt;
    const auto v = ReadNumber(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

std::string Number(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

void AppendField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\n\r") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

MeasurementRead ReadMeasurements(std::string_view text) {
    MeasurementRead r;
    std::array<int, kColumns> at;
    at.fill(-1);
    bool haveHeader = false;
    std::vector<std::string> f;
    int line = 0;
    const auto fail = [&](const std::string& what) {
        r.rows.clear();
        r.error = "line " + std::to_string(line) + ": " + what;
        return r;
    };
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = text.substr(pos, end - pos);
        const bool last = end == text.size();
        pos = end + 1;
        ++line;
        const std::string_view s = Trim(raw);
        if (s.empty() || s.front() == '#') {
            if (last) break;
            continue;
        }
        if (raw.find('\0') != std::string_view::npos) return fail("holds a NUL byte: not a text file");
        if (!SplitFields(s, f)) return fail("a quoted field is not closed");
        if (!haveHeader) {
            haveHeader = true;
            for (std::size_t i = 0; i < f.size(); ++i) {
                int c = -1;
                for (int k = 0; k < kColumns; ++k)
                    if (SameWord(f[i], kColumnNames[static_cast<std::size_t>(k)])) c = k;
                if (c < 0)
                    return fail("unknown column " + Shown(f[i]) +
                                " (the columns are offset, direction, end, event, value, unit and optionally "
                                "weight and note)");
                if (at[static_cast<std::size_t>(c)] >= 0) return fail("the column " + Shown(f[i]) + " is named twice");
                at[static_cast<std::size_t>(c)] = static_cast<int>(i);
            }
            for (int k = 0; k < kRequiredColumns; ++k)
                if (at[static_cast<std::size_t>(k)] < 0)
                    return fail("the header has no column \"" + std::string(kColumnNames[static_cast<std::size_t>(k)]) +
                                "\" (needed: offset,direction,end,event,value,unit)");
            if (last) break;
            continue;
        }
        std::size_t needed = 0, columns = 0;
        for (int k = 0; k < kColumns; ++k) {
            const auto c = static_cast<std::size_t>(at[static_cast<std::size_t>(k)] + 1);
            columns = std::max(columns, c);
            if (k < kRequiredColumns) needed = std::max(needed, c);
        }
        // The optional columns may be left off the end of a line.
        if (f.size() < needed)
            return fail("has " + std::to_string(f.size()) + " fields where the header names " +
                        std::to_string(columns) + " columns");
        if (f.size() > columns)
            return fail("has " + std::to_string(f.size()) + " fields where the header names " +
                        std::to_string(columns) + " columns (a note holding a comma goes in double quotes)");
        const auto field = [&](Column c) -> std::string_view {
            const int i = at[static_cast<std::size_t>(c)];
            if (i < 0 || static_cast<std::size_t>(i) >= f.size()) return {};
            return f[static_cast<std::size_t>(i)];
        };
        Measurement m;
        m.line = line;
        const auto offset = FiniteNumber(field(kOffset));
        if (!offset) return fail("the offset " + Shown(field(kOffset)) + " is not a finite number");
        m.offset = *offset;
        const std::string_view dir = field(kDirection);
        if (dir.empty() || SameWord(dir, "auto")) m.direction = EventDirection::Auto;
        else if (SameWord(dir, "forward")) m.direction = EventDirection::Forward;
        else if (SameWord(dir, "reverse")) m.direction = EventDirection::Reverse;
        else return fail("unknown direction " + Shown(dir) + " (auto, forward or reverse)");
        const std::string_view endName = field(kEnd);
        if (SameWord(endName, "front")) m.rear = false;
        else if (SameWord(endName, "rear")) m.rear = true;
        else return fail("unknown end " + Shown(endName) + " (front or rear)");
        bool known = false;
        for (int e = 0; e < kMeasuredEventCount; ++e)
            if (SameWord(field(kEvent), MeasuredEventName(static_cast<MeasuredEvent>(e)))) {
                m.event = static_cast<MeasuredEvent>(e);
                known = true;
            }
        if (!known)
            return fail("unknown event " + Shown(field(kEvent)) +
                        " (admission, cutOff, release, compression or lead)");
        known = false;
        for (int u = 0; u < kMeasureUnitCount; ++u)
            if (SameWord(field(kUnit), MeasureUnitName(static_cast<MeasureUnit>(u)))) {
                m.unit = static_cast<MeasureUnit>(u);
                known = true;
            }
        if (!known) return fail("unknown unit " + Shown(field(kUnit)) + " (percent, deg or length)");
        if (m.event == MeasuredEvent::Lead && m.unit != MeasureUnit::Length)
            return fail("a lead is measured as a length (the port opening at dead centre), not in " +
                        std::string(MeasureUnitName(m.unit)));
        const auto value = FiniteNumber(field(kValue));
        if (!value) return fail("the value " + Shown(field(kValue)) + " is not a finite number");
        m.value = *value;
        if (const std::string_view w = field(kWeight); !w.empty()) {
            const auto weight = FiniteNumber(w);
            if (!weight || !(*weight > 0)) return fail("the weight " + Shown(w) + " is not a finite number above 0");
            m.weight = *weight;
        }
        m.note = std::string(field(kNote));
        r.rows.push_back(std::move(m));
        if (last) break;
    }
    if (!haveHeader) {
        line = std::max(line, 1);
        return fail("no header: the file needs the columns offset,direction,end,event,value,unit");
    }
    return r;
}

std::string MeasurementsCsv(std::span<const Measurement> rows) {
    std::string out(kMeasurementCsvHeader);
    for (const Measurement& m : rows) {
        out += Number(m.offset);
        out += ',';
        out += m.direction == EventDirection::Forward   ? "forward"
               : m.direction == EventDirection::Reverse ? "reverse"
                                                        : "auto";
        out += m.rear ? ",rear," : ",front,";
        out += MeasuredEventName(m.event);
        out += ',';
        out += Number(m.value);
        out += ',';
        out += MeasureUnitName(m.unit);
        out += ',';
        if (m.weight) out += Number(*m.weight);
        out += ',';
        AppendField(out, m.note);
        out += '\n';
    }
    return out;
}

} // namespace vx
