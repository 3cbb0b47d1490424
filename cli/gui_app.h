// The Qt application object that fonts and images need, made on demand.
#pragma once

namespace vx::cli {

// Creates a QGuiApplication on the offscreen platform (unless the
// environment names another) when the process has no Qt application yet.
// It lives until the program ends.
void EnsureGuiApplication();

} // namespace vx::cli
