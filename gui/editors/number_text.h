// What every number box of the windows shows and how it reads what is
// typed, whatever the locale: the program's own formatter (a decimal point,
// no grouping) and the one rule for typed numbers (a comma is the decimal
// point too; see ReadTypedNumber).
#pragma once

#include <QDoubleSpinBox>
#include <QString>
#include <optional>

class QLineEdit;

namespace vx {

// A value as a box shows it: the shortest text that reads back as the same
// float ("0.08", "1.3"); with decimals >= 0, that many decimals.
QString NumberBoxText(double v, int decimals = -1);

// What a box holds, by the one rule; nothing when it is not a number.
std::optional<double> NumberBoxValue(const QLineEdit* box);
std::optional<double> NumberBoxValue(const QString& text);

// A spin box that shows and reads its value by the same rule as every box.
class NumberSpinBox final : public QDoubleSpinBox {
public:
    explicit NumberSpinBox(QWidget* parent = nullptr);

    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
};

} // namespace vx
