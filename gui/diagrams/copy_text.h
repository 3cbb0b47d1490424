// The diagram windows' "Copy": a text of the program (UTF-8) put on the
// system clipboard.
#pragma once

#include <string_view>

namespace vx {

void CopyTextToClipboard(std::string_view text);

} // namespace vx
