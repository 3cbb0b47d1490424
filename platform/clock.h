// The date and time texts shown in captions and the pivot table.
#pragma once

#include <ctime>
#include <string>
#include <utility>

namespace vx {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string ShortDate() const = 0;
    virtual std::string LongTime() const = 0;
};

// Always the same texts (tests).
class FixedClock final : public Clock {
public:
    FixedClock(std::string date, std::string time) : date_(std::move(date)), time_(std::move(time)) {}
    std::string ShortDate() const override { return date_; }
    std::string LongTime() const override { return time_; }

private:
    std::string date_, time_;
};

// Local date and time in the formats of the C library's current locale.
class SystemClock final : public Clock {
public:
    std::string ShortDate() const override { return Now("%x"); }
    std::string LongTime() const override { return Now("%X"); }

private:
    static std::string Now(const char* format) {
        std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        char buf[64];
        std::size_t n = std::strftime(buf, sizeof buf, format, &local);
        return std::string(buf, n);
    }
};

} // namespace vx
