// The number boxes' one rule in a spin box and in the texts the boxes show:
// a point whatever the locale, a typed comma read as the decimal point.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "gui/editors/number_text.h"
#include "tests/kit/decimal_comma_locale.h"

namespace vx {
namespace {

TEST(NumberBoxes, ShowAPointAndReadACommaUnderAFrenchLocale) {
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Active()) << test::DecimalCommaLocale::kWhy;
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    EXPECT_EQ(NumberBoxText(0.08f), "0.08");
    EXPECT_EQ(NumberBoxText(1234.5, 2), "1234.50"); // no grouping
    EXPECT_EQ(NumberBoxValue(QStringLiteral("1,3")), 1.3);

    NumberSpinBox box;
    box.setDecimals(4);
    box.setRange(0, 10);
    box.setValue(0.05);
    EXPECT_EQ(box.text(), "0.0500");
    const struct {
        const char* typed;
        double value;
    } cases[] = {{"0,5", 0.5}, {"0.25", 0.25}, {"2,125", 2.125}};
    for (const auto& c : cases) {
        QLineEdit* edit = box.findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(&box, QString::fromUtf8(c.typed));
        box.interpretText();
        EXPECT_DOUBLE_EQ(box.value(), c.value) << c.typed;
    }
    // Letters are not typed into it; a value out of range is not taken.
    QLineEdit* edit = box.findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(&box, QStringLiteral("x"));
    EXPECT_FALSE(box.text().contains(u'x'));
    QLocale::setDefault(saved);
}

} // namespace
} // namespace vx
