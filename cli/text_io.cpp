#include "cli/text_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/fixed_format.h"

namespace vx::cli {

namespace {

bool IsHexadecimal(std::string_view text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Whether the bytes are valid UTF-8 (so that bytes from 0x80 up are parts
// of characters and not stray bytes).
bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
        i += n;
    }
    return true;
}

} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    if (IsHexadecimal(text)) return std::nullopt;
    return ReadNumber(text);
}

std::optional<float> ParseModelValue(std::string_view text, std::string& why) {
    if (IsHexadecimal(text)) {
        why = "hexadecimal is not read; write the value in decimals";
        return std::nullopt;
    }
    const auto v = ReadNumber(text);
    if (!v) {
        why = "not a number";
        return std::nullopt;
    }
    const float f = ToModelFloat(*v);
    if (std::isfinite(*v) && !std::isfinite(f)) {
        why = "beyond the range of a model value (about 3.4e+38)";
        return std::nullopt;
    }
    if (*v != 0 && f == 0) {
        why = "too small for a model value (below about 1.4e-45 it would be 0)";
        return std::nullopt;
    }
    return f;
}

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

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string Quote(std::string_view s) {
    constexpr std::size_t kMostShown = 80;
    const bool cut = s.size() > kMostShown;
    if (cut) s = s.substr(0, kMostShown);
    const bool utf8 = IsUtf8(s);
    std::string q;
    q.reserve(s.size() + 2);
    q.push_back('"');
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && !utf8)) {
            constexpr char kHex[] = "0123456789abcdef";
            q += "\\x";
            q.push_back(kHex[c >> 4]);
            q.push_back(kHex[c & 0xF]);
        } else {
            q.push_back(ch);
        }
    }
    q.push_back('"');
    if (cut) q += "...";
    return q;
}

std::string ReadSmallFile(const std::string& path, std::size_t most, std::string& text) {
    struct stat st {};
    errno = 0;
    if (::stat(path.c_str(), &st) != 0) return std::strerror(errno);
    if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return errno != 0 ? std::strerror(errno) : "it cannot be opened";
    text.clear();
    char buf[4096];
    std::string reason;
    for (;;) {
        errno = 0;
        const std::size_t n = std::fread(buf, 1, sizeof buf, f);
        text.append(buf, n);
        if (text.size() > most) {
            reason = "larger than " + std::to_string(most) + " bytes";
            break;
        }
        if (n < sizeof buf) {
            if (std::ferror(f)) reason = errno != 0 ? std::strerror(errno) : "a read failed";
            break;
        }
    }
    std::fclose(f);
    return reason;
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
