#pragma once
// The program's clock fixed at a moment for the life of the object; the system clock comes back in
// the destructor.

#include "data/clock.h"

#include <memory>

namespace nc::test {

class FixedClock {
public:
    enum class Reading {
        Same,          // every reading gives the same moment
        MillisecondOn, // each reading is a millisecond after the one before, as stamps of lines saved
                       // one after another are
    };
    explicit FixedClock(const QDateTime& moment, Reading reading = Reading::Same) {
        auto next = std::make_shared<QDateTime>(moment);
        const bool moves = reading == Reading::MillisecondOn;
        data::Clock::setSource([next, moves] {
            const QDateTime now = *next;
            if (moves)
                *next = now.addMSecs(1);
            return now;
        });
    }
    // Today is `date`; the moment is `time` on it.
    explicit FixedClock(QDate date, QTime time = QTime(9, 0), Reading reading = Reading::Same)
        : FixedClock(QDateTime(date, time), reading) {}
    ~FixedClock() { data::Clock::setSource({}); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

} // namespace nc::test
