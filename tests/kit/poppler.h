// Runs one of poppler's tools (pdffonts, pdfinfo, pdftotext) on a PDF the
// program wrote; its standard output.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <string>

namespace vx::test {

inline std::string Poppler(const QString& tool, const QStringList& args) {
    const QString path = QStandardPaths::findExecutable(tool);
    EXPECT_FALSE(path.isEmpty()) << tool.toStdString() << " (poppler-utils) is needed";
    if (path.isEmpty()) return {};
    QProcess p;
    p.start(path, args);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

// The font names pdffonts lists (without a subset prefix "ABCDEF+").
inline std::vector<std::string> PdfFontNames(const QString& file) {
    std::vector<std::string> names;
    const std::string listing = Poppler(QStringLiteral("pdffonts"), {file});
    std::size_t line = listing.find('\n');
    line = listing.find('\n', line + 1); // past the header and its rule
    while (line != std::string::npos && line + 1 < listing.size()) {
        const std::size_t end = listing.find('\n', line + 1);
        std::string row = listing.substr(line + 1, end - line - 1);
        std::string name = row.substr(0, row.find(' '));
        if (const std::size_t plus = name.find('+'); plus != std::string::npos) name = name.substr(plus + 1);
        if (!name.empty()) names.push_back(name);
        line = end;
    }
    return names;
}

} // namespace vx::test
