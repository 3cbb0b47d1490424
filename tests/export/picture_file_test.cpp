// The picture writer: the kind a file name asks for, and the three kinds
// drawn from one picture. The PDF of a diagram is a page of the diagram's
// size in the faces its SVG names.
#include "export/picture_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <set>
#include <string>

#include "model/workspace/defaults.h"
#include "tests/kit/poppler.h"
#include "tests/kit/qt_files.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

using test::Bytes;

TEST(PictureWriter, KindByTheSuffixOfTheFileName) {
    const struct {
        const char* path;
        std::optional<PictureKind> kind;
    } cases[] = {
        {"a.png", PictureKind::Png},      {"a.PNG", PictureKind::Png},  {"a.svg", PictureKind::Svg},
        {"a.SVG", PictureKind::Svg},      {"b/a.Pdf", PictureKind::Pdf}, {"a.svg.png", PictureKind::Png},
        {"picture", PictureKind::Png},    {"-", PictureKind::Png},       {"/dev/stdout", PictureKind::Png},
        {"x.d/picture", PictureKind::Png}, {".hidden", PictureKind::Png}, {"a.jpg", std::nullopt},
        {"a.png.jpeg", std::nullopt},     {"a.", std::nullopt},         {"a.svgz", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PictureKindOf(std::string_view(c.path)), c.kind) << c.path;
        EXPECT_EQ(PictureKindOf(QString::fromUtf8(c.path)), c.kind) << c.path;
    }
    EXPECT_EQ(FileSuffix("x.d/picture"), "");
    EXPECT_EQ(FileSuffix("a/b.tar"), ".tar");
    for (const char* kind : {"PNG (.png)", "SVG (.svg)", "PDF (.pdf)"})
        EXPECT_NE(PictureKindNames().find(kind), std::string_view::npos) << kind;
}

class PictureWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartUp(g);
        g.revArm.positionCount = 3; // mid gear and normal full forward and reverse, as the diagram command draws
    }
    GearState g;
    test::TempDir dir;
};

TEST_F(PictureWriterTest, EveryKindOfOnePicture) {
    const PictureSource steam = DiagramPicture(g, "steam", DiagramRequest{});
    ASSERT_GT(steam.width, 0);
    const std::string png = dir.File("steam.png"), svg = dir.File("steam.svg"), pdf = dir.File("steam.pdf");
    for (const auto& [path, kind] : {std::pair{png, PictureKind::Png}, std::pair{svg, PictureKind::Svg},
                                     std::pair{pdf, PictureKind::Pdf}})
        ASSERT_EQ(WritePicture(QString::fromStdString(path), kind, steam), "") << path;

    const QImage image(QString::fromStdString(png));
    EXPECT_EQ(image.size(), QSize(steam.width, steam.height));
    EXPECT_TRUE(Bytes(svg).startsWith("<?xml"));
    EXPECT_TRUE(Bytes(pdf).startsWith("%PDF-"));

    // One page of the picture's size: a pixel is 1/96 inch, 0.75 point.
    const std::string info = test::Poppler(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    const QRegularExpression pageSize(QStringLiteral("Page size: +([0-9.]+) x ([0-9.]+) pts"));
    const auto m = pageSize.match(QString::fromStdString(info));
    ASSERT_TRUE(m.hasMatch()) << info;
    EXPECT_NEAR(m.captured(1).toDouble(), steam.width * 0.75, 0.5);
    EXPECT_NEAR(m.captured(2).toDouble(), steam.height * 0.75, 0.5);

    // The PDF is drawn in the faces the SVG names, the narrow one among them.
    std::set<std::string> svgFaces;
    const QString text = QString::fromUtf8(Bytes(svg));
    static const QRegularExpression kFamily(QStringLiteral("font-family=\"([^\"]+)\""));
    for (auto it = kFamily.globalMatch(text); it.hasNext();)
        svgFaces.insert(it.next().captured(1).remove(QLatin1Char(' ')).toStdString());
    EXPECT_EQ(svgFaces.count("LiberationSansNarrow"), 1u);
    std::set<std::string> pdfFaces;
    for (std::string name : test::PdfFontNames(QString::fromStdString(pdf))) {
        if (const auto dash = name.find('-'); dash != std::string::npos) name.resize(dash); // "-Bold"
        pdfFaces.insert(name);
    }
    EXPECT_EQ(pdfFaces, svgFaces);

    // The texts are there as texts.
    const std::string words =
        test::Poppler(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
    EXPECT_NE(words.find("Reverse Arm Positions"), std::string::npos) << words;
}

TEST_F(PictureWriterTest, NothingToDrawIsRefused) {
    const std::string path = dir.File("none.png");
    const QString failure = WritePicture(QString::fromStdString(path), PictureKind::Png, PictureSource{});
    EXPECT_TRUE(failure.startsWith(QString::fromStdString("cannot write " + path + ": "))) << failure.toStdString();
    EXPECT_TRUE(DiagramPicture(g, "nonesuch", DiagramRequest{}).width == 0);
    EXPECT_TRUE(dir.Names().empty());
}

} // namespace
} // namespace vx
