// vexlin-cli: the Vexlin valve gear model without windows.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = vx::cli::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout && code == vx::cli::kExitOk) {
        std::cerr << "vexlin-cli: cannot write the output\n";
        return vx::cli::kExitFailure;
    }
    return code;
}
