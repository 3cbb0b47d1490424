// The one reader of a dimension's name on the command line, for --set,
// --set-file, --tol, --bounds, --fields and --vary alike: the field name as
// "dims" lists it, in any case, or its id number.
#pragma once

#include <string>
#include <string_view>

#include "model/gear/dimensions.h"

namespace vx::cli {

// The dimension named, or nullptr.
const DimensionInfo* ReadField(std::string_view name);

// The message for a name ReadField does not know: "unknown dimension field
// "x" (\"dims\" lists them)".
std::string UnknownFieldMessage(std::string_view name);

} // namespace vx::cli
