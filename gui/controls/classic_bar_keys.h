// The keys of every scroll bar of the program, in every window: Left and Up
// lower the value, Right and Down raise it, PgUp and PgDn move by the large
// change, Home and End go to the ends, as on the classic desktop. Qt's bars
// answer Left and Right the other way round; one application-wide filter
// turns them back.
#pragma once

namespace vx {

// Installs the filter on the application once; later calls do nothing.
void InstallClassicBarKeys();

} // namespace vx
