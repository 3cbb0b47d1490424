#include "gui/editors/number_text.h"

#include <QLineEdit>

#include <algorithm>

#include "base/fixed_format.h"
#include "base/typed_value.h"

namespace vx {

QString NumberBoxText(double v, int decimals) {
    char buf[kNumberBuffer];
    const std::string_view t =
        decimals < 0 ? FormatShortest(buf, ToModelFloat(v)) : FormatFixed(buf, v, 0, decimals);
    return QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size()));
}

std::optional<double> NumberBoxValue(const QString& text) { return ReadTypedNumber(text.toStdString()); }

std::optional<double> NumberBoxValue(const QLineEdit* box) {
    return box == nullptr ? std::nullopt : NumberBoxValue(box->text());
}

NumberSpinBox::NumberSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    // Qt's own reading would follow the locale: this box reads by the rule.
    setLocale(QLocale::c());
}

QString NumberSpinBox::textFromValue(double value) const { return NumberBoxText(value, decimals()); }

double NumberSpinBox::valueFromText(const QString& text) const {
    return NumberBoxValue(text.trimmed()).value_or(value());
}

QValidator::State NumberSpinBox::validate(QString& text, int&) const {
    if (const auto v = NumberBoxValue(text)) return *v >= minimum() && *v <= maximum() ? QValidator::Acceptable
                                                                                         : QValidator::Intermediate;
    // On the way to a number: only the characters a number is made of.
    for (const QChar c : text)
        if (!(c.isDigit() || c == u'.' || c == u',' || c == u'-' || c == u'+' || c == u'e' || c == u'E' ||
              c == u' '))
            return QValidator::Invalid;
    return QValidator::Intermediate;
}

void NumberSpinBox::fixup(QString& text) const {
    if (const auto v = NumberBoxValue(text)) text = textFromValue(std::clamp(*v, minimum(), maximum()));
}

} // namespace vx
