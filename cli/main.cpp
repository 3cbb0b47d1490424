// vexlin-cli: the Vexlin valve gear model without windows.
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/dispatch.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = vx::cli::RunCli(args, std::cin, std::cout, std::cerr);
    errno = 0;
    std::cout.flush();
    if (!std::cout && code != vx::cli::kExitCannotRun && code != vx::cli::kExitUsage) {
        const int e = errno;
        std::cerr << "vexlin-cli: cannot write the output: " << (e ? std::strerror(e) : "the output is closed") << "\n";
        return vx::cli::kExitCannotRun;
    }
    return code;
}
