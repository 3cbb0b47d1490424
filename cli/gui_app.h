// The Qt application object that fonts and images need, made on demand.
#pragma once

namespace vx::cli {

// Creates a QGuiApplication on the offscreen platform (unless the
// environment names another) when the process has no Qt application yet.
// It lives until ReleaseGuiApplication.
void EnsureGuiApplication();

// Ends the application EnsureGuiApplication made (none made: nothing), before
// the program's static objects go: Qt's font caches must outlive it.
void ReleaseGuiApplication();

} // namespace vx::cli
