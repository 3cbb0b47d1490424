// The key filter of the program's number boxes: which typed characters a box
// takes. Shared by the dimension editors, the reverse arm positions editor,
// the graphic zoom dialog and the value dialogs.
#pragma once

#include <string_view>

namespace vx {

enum class EnterKey {
    Discard,       // Enter does nothing
    MovesToClose,  // the dimension editors: the focus moves on to "Close"
    DefaultButton, // the value dialogs: Enter presses the default button
};

struct KeyRules {
    bool minus = true; // "-" accepted (at most one in the box)
    EnterKey enter = EnterKey::Discard;
};

enum class KeyVerdict {
    Accept,  // the box takes the character
    Discard, // the character is dropped
    Enter,   // dropped; the focus moves on to "Close"
    PassOn,  // not the box's: the dialog handles it (its default button)
};

// One typed character (a Unicode code point; 8 is Backspace, 13 Enter) for
// a box holding `text`. Digits, Backspace and "." are accepted everywhere,
// "-" where the rules allow it; a second "." or "-" is dropped wherever it
// would stand. A "," is the decimal point typed on a keypad that has a
// comma: judged as "."; the box then takes a "." in its place.
KeyVerdict FilterKey(char32_t ch, std::string_view text, KeyRules rules);

} // namespace vx
