// The Qt application object that fonts and images need, made on demand.
#pragma once

namespace vx::cli {

// Creates a QGuiApplication on the offscreen platform (unless the
// environment names another) when the process has no Qt application yet.
// It lives until ReleaseGuiApplication().
void EnsureGuiApplication();

// Ends the application made by EnsureGuiApplication, if any. The program
// calls it before it returns from main: ended later, among the static
// destructors, Qt complains on stderr about its thread storage.
void ReleaseGuiApplication();

} // namespace vx::cli
