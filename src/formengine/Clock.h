#pragma once

namespace qv {

/// A day of the civil calendar (month 1 to 12, day 1 to 31).
struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    /// Parses "YYYY-MM-DD"; false (and `out` untouched) unless it names a real day.
    static bool parse(const char* text, CivilDate& out);
};

/// The local date, asked once per template load; tests and the command line set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CivilDate today() const = 0;
};

/// The computer's clock in the local time zone.
class SystemClock : public Clock {
public:
    CivilDate today() const override;
};

/// Always the same day.
class FixedClock : public Clock {
public:
    explicit FixedClock(CivilDate date) : date_(date) {}
    CivilDate today() const override { return date_; }
    void set(CivilDate date) { date_ = date; }

private:
    CivilDate date_;
};

} // namespace qv
