// The clock and random-number seams.
#include <climits>
#include <ctime>
#include <functional>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include "platform/clock.h"
#include "platform/qt/qt_clock.h"
#include "platform/random.h"

namespace vx {
namespace {

TEST(Clock, FixedClockGivesItsTexts) {
    FixedClock fixed("1 Jan 2000", "12:34:56");
    const Clock& c = fixed;
    EXPECT_EQ(c.ShortDate(), "1 Jan 2000");
    EXPECT_EQ(c.LongTime(), "12:34:56");
}

TEST(Clock, SystemClocksGiveTexts) {
    SystemClock system;
    QtClock qt;
    for (const Clock* c : {static_cast<const Clock*>(&system), static_cast<const Clock*>(&qt)}) {
        EXPECT_FALSE(c->ShortDate().empty());
        EXPECT_NE(c->LongTime().find(':'), std::string::npos);
    }
}

// The texts tell the time it is now, read from the system clock here: the
// time of day as hours, minutes and seconds (24-hour or 12-hour), and a
// date that reads back as today in the clock's own format.
TEST(Clock, SystemClocksTellTheCurrentTime) {
    SystemClock system;
    QtClock qt;
    const auto cDate = [](const std::string& text) {
        std::tm t{};
        const char* end = strptime(text.c_str(), "%x", &t);
        return end != nullptr && *end == '\0' ? QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) : QDate();
    };
    const auto qtDate = [](const std::string& text) {
        return QLocale::system().toDate(QString::fromStdString(text), QLocale::ShortFormat);
    };
    const struct {
        const Clock* clock;
        std::function<QDate(const std::string&)> readDate;
    } clocks[] = {{&system, cDate}, {&qt, qtDate}};
    for (const auto& c : clocks) {
        const QDateTime before = QDateTime::currentDateTime();
        const std::string time = c.clock->LongTime();
        const std::string date = c.clock->ShortDate();
        const QDateTime after = QDateTime::currentDateTime();
        QDate read = c.readDate(date);
        // A two-digit year reads as 19xx.
        if (read.isValid() && read.year() < 1970) read = read.addYears(100);
        bool timeFound = false;
        for (const QDateTime& t : {before, after})
            for (const char* f : {"HH:mm:ss", "H:mm:ss", "hh:mm:ss AP", "h:mm:ss AP"}) {
                std::string want = t.time().toString(QString::fromLatin1(f)).toStdString();
                want = want.substr(0, want.find(' '));
                timeFound = timeFound || time.find(want) != std::string::npos;
            }
        EXPECT_TRUE(timeFound) << time << " at " << before.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(read == before.date() || read == after.date())
            << date << " on " << before.toString(Qt::ISODate).toStdString();
    }
}

TEST(Random, ClassicGeneratorSequence) {
    LcgRandom r(0);
    // state 1, then 134775814, then 134775814 * 134775813 + 1 (mod 2^32).
    EXPECT_EQ(r.Next(1000), 0);
    EXPECT_EQ(r.Next(1000), 31);
    EXPECT_EQ(r.Next(1 << 16), static_cast<int>(((134775814u * 134775813u + 1u) >> 16)));
}

TEST(Random, ReseedRestartsTheSequence) {
    LcgRandom r(12345);
    std::vector<int> first, again;
    for (int i = 0; i < 20; ++i) first.push_back(r.Next(100));
    r.Reseed();
    for (int i = 0; i < 20; ++i) again.push_back(r.Next(100));
    EXPECT_EQ(first, again);
}

TEST(Random, ValuesStayInRange) {
    LcgRandom lcg(7);
    ClockRandom clock;
    for (Random* r : {static_cast<Random*>(&lcg), static_cast<Random*>(&clock)}) {
        for (int n : {1, 2, 7, 1000, INT_MAX}) {
            for (int i = 0; i < 200; ++i) {
                const int v = r->Next(n);
                ASSERT_GE(v, 0);
                ASSERT_LT(v, n);
            }
        }
        for (int n : {0, -1, INT_MIN}) EXPECT_EQ(r->Next(n), 0);
        r->Reseed();
    }
}

} // namespace
} // namespace vx
