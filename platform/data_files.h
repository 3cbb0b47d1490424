// Where the program's data files (the sounds and the instruction texts) are
// found: the current folder first, then the folder of the running program
// (the build tree keeps them beside the binaries), then the installed data
// folder relative to it (../share/vexlin from bin/).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The folders searched, in order, for a program in `programFolder` started
// in `currentFolder`. Empty folders are left out, duplicates kept once.
std::vector<std::filesystem::path> DataFileFolders(const std::filesystem::path& currentFolder,
                                                   const std::filesystem::path& programFolder);

// The first regular file called `name` in `folders`, or "" when there is
// none (also for an empty name or a name with a folder part).
std::string FindDataFile(std::string_view name, const std::vector<std::filesystem::path>& folders);

// The folders searched by this process: its current folder and the folder
// of its executable, as above.
std::vector<std::filesystem::path> ProcessDataFileFolders();

// FindDataFile over ProcessDataFileFolders().
std::string FindDataFile(std::string_view name);

// The folder of the running executable ("" when it cannot be told).
std::filesystem::path ProgramFolder();

} // namespace vx
