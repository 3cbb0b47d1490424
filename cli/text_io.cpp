#include "cli/text_io.h"

#include "base/fixed_format.h"

namespace vx::cli {

std::optional<double> ParseNumber(std::string_view text) { return ReadNumber(text); }

void AppendNumber(std::string& out, float v) {
    char buf[kNumberBuffer];
    out += FormatShortest(buf, v);
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

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> words;
    if (text.empty()) return words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        words.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return words;
        start = comma + 1;
    }
}

} // namespace vx::cli
