#include "window_registry.h"

#include "guard.h"
#include "messages.h"

namespace nc::ui {

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

WindowRegistry& WindowRegistry::program() {
    static WindowRegistry registry;
    return registry;
}

int openWindow(const QString& className, QWidget* parent, const WindowRegistry& windows) {
    int result = -1;
    guard([&] {
        if (!windows.contains(className)) {
            Messages::inform(QStringLiteral("此功能尚未提供"));
            return;
        }
        // A window that fails while loading (the database missing, say) throws here; the error report
        // shows it, and the next click tries again.
        const std::unique_ptr<QDialog> window = windows.create(className, parent);
        result = window->exec();
    });
    return result;
}

} // namespace nc::ui
