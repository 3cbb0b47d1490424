// The tests' whole-file reading (files.h) for the tests that compare bytes
// as Qt holds them.
#pragma once

#include <QByteArray>

#include <filesystem>

#include "tests/kit/files.h"

namespace vx::test {

// Every byte of the file; empty when it cannot be read.
inline QByteArray Bytes(const std::filesystem::path& path) { return QByteArray::fromStdString(ReadAll(path)); }

} // namespace vx::test
