#pragma once

#include <QString>

namespace ui {

// Local date and time as days since 1899-12-30 00:00, the fraction being the time of day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() = 0;
    // The date part of a moment in the system's short date format; empty for a moment that is no
    // date.
    virtual QString shortDate(double moment) const;
};

class SystemClock : public Clock {
public:
    double now() override;
};

// A clock that stands still unless a test moves it.
class FixedClock : public Clock {
public:
    explicit FixedClock(double moment) : moment_(moment) {}
    double now() override { return moment_; }
    void set(double moment) { moment_ = moment; }

private:
    double moment_;
};

}  // namespace ui
