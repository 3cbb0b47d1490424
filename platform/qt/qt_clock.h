// Clock with the system locale's short date and long time formats.
#pragma once

#include <QDate>
#include <QLocale>
#include <QTime>

#include "platform/clock.h"

namespace vx {

class QtClock final : public Clock {
public:
    std::string ShortDate() const override {
        return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    }
    std::string LongTime() const override {
        return QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat).toStdString();
    }
};

} // namespace vx
