#include "gui/editors/key_filter.h"

namespace vx {

KeyVerdict FilterKey(char32_t ch, std::string_view text, KeyRules rules) {
    if (ch == 8) return KeyVerdict::Accept;
    if (ch == 13) {
        switch (rules.enter) {
        case EnterKey::MovesToClose: return KeyVerdict::Enter;
        case EnterKey::DefaultButton: return KeyVerdict::PassOn;
        case EnterKey::Discard: break;
        }
        return KeyVerdict::Discard;
    }
    if (ch >= U'0' && ch <= U'9') return KeyVerdict::Accept;
    if (ch == U',') ch = U'.';
    if (ch == U'.' || (ch == U'-' && rules.minus)) {
        const char c = static_cast<char>(ch);
        return text.find(c) == std::string_view::npos ? KeyVerdict::Accept : KeyVerdict::Discard;
    }
    return KeyVerdict::Discard;
}

} // namespace vx
