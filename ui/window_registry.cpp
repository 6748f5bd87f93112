#include "window_registry.h"

#include "guard.h"

#include "data/errors.h"

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
    // Every window that another window opens is registered at start-up (app/working_windows.cpp); a
    // name that is not there is a mistake in the program, caught here in a debug build. A release
    // build reports it through the error report instead of failing on a window that is not there.
    Q_ASSERT_X(windows.contains(className), "openWindow",
               qPrintable(className + QStringLiteral(" is not registered")));
    int result = -1;
    guard([&] {
        // A window that fails while loading (the database missing, say) throws here; the error report
        // shows it, and the next click tries again.
        const std::unique_ptr<QDialog> window = windows.create(className, parent);
        if (!window)
            throw data::Error(QStringLiteral("程序错误：窗口“%1”没有登记，无法打开。").arg(className));
        result = window->exec();
    });
    return result;
}

} // namespace nc::ui
