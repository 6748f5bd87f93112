#pragma once
// The program's clock. Computations that depend on today's date read it here, so tests can fix it.

#include <QDateTime>
#include <functional>

namespace nc::data {

class Clock {
public:
    static QDateTime now() { return source() ? source()() : QDateTime::currentDateTime(); }
    static QDate today() { return now().date(); }
    // Tests set a fixed source; an empty function restores the system clock.
    static void setSource(std::function<QDateTime()> f) { source() = std::move(f); }

private:
    static std::function<QDateTime()>& source() {
        static std::function<QDateTime()> f;
        return f;
    }
};

} // namespace nc::data
