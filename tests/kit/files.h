// Whole files as bytes, for the tests: read back what the program wrote,
// put in place what it is to find. One way of each for every test program.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

namespace vx::test {

// Every byte of the file; empty when it cannot be read.
inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Makes the file hold exactly `bytes`; a file that cannot be written fails
// the test that asked for it.
inline void WriteAll(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) ADD_FAILURE() << "could not write " << path;
}
inline void WriteAll(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    WriteAll(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace vx::test
