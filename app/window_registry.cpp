#include "window_registry.h"

namespace nc::app {

void WindowRegistry::add(const QString& className, WindowFactory make) {
    for (Entry& e : entries_) {
        if (e.className == className) {
            e.make = std::move(make);
            return;
        }
    }
    entries_.append({className, std::move(make)});
}

bool WindowRegistry::contains(const QString& className) const {
    for (const Entry& e : entries_)
        if (e.className == className)
            return true;
    return false;
}

QStringList WindowRegistry::classNames() const {
    QStringList names;
    for (const Entry& e : entries_)
        names << e.className;
    return names;
}

std::unique_ptr<QDialog> WindowRegistry::create(const QString& className, QWidget* parent) const {
    for (const Entry& e : entries_)
        if (e.className == className)
            return e.make(parent);
    return nullptr;
}

const WindowRegistry& WindowRegistry::standard() {
    static const WindowRegistry registry = [] {
        WindowRegistry r;
        registerWorkingWindows(r);
        return r;
    }();
    return registry;
}

} // namespace nc::app
