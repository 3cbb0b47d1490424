#include "platform/data_files.h"

#include <system_error>

#ifndef VEXLIN_DATA_FROM_BIN
#define VEXLIN_DATA_FROM_BIN "../share/vexlin"
#endif

namespace vx {

namespace fs = std::filesystem;

std::vector<fs::path> DataFileFolders(const fs::path& currentFolder, const fs::path& programFolder) {
    std::vector<fs::path> folders;
    auto add = [&folders](const fs::path& p) {
        if (p.empty()) return;
        const fs::path n = p.lexically_normal();
        for (const fs::path& f : folders)
            if (f == n) return;
        folders.push_back(n);
    };
    add(currentFolder);
    if (!programFolder.empty()) {
        add(programFolder);
        add(programFolder / VEXLIN_DATA_FROM_BIN);
    }
    return folders;
}

std::string FindDataFile(std::string_view name, const std::vector<fs::path>& folders) {
    const fs::path file(name);
    // A bare file name only: nothing outside the data folders is reached.
    if (name.empty() || file != file.filename() || file == "." || file == "..") return {};
    for (const fs::path& folder : folders) {
        const fs::path candidate = folder / file;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
    }
    return {};
}

fs::path ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

std::vector<fs::path> ProcessDataFileFolders() {
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    if (ec) current.clear();
    return DataFileFolders(current, ProgramFolder());
}

std::string FindDataFile(std::string_view name) { return FindDataFile(name, ProcessDataFileFolders()); }

} // namespace vx
