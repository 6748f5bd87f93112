#pragma once
// The working windows, by class name. Windows open each other through it, so a subsystem never links
// the library of a window it opens; the program lists its windows once at start-up
// (app/working_windows.cpp), so every window a button names is there.

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace nc::ui {

// Makes a new instance of a window, shown modally over `parent` by whoever asked for it.
using WindowFactory = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;

class WindowRegistry {
public:
    void add(const QString& className, WindowFactory make);
    // For a window class constructed as W(QWidget* parent).
    template <class W> void add(const QString& className) {
        add(className, [](QWidget* parent) { return std::make_unique<W>(parent); });
    }

    bool contains(const QString& className) const;
    QStringList classNames() const; // in the order they were added
    // A fresh instance, or nullptr when no window of that class is registered.
    std::unique_ptr<QDialog> create(const QString& className, QWidget* parent) const;

    // The program's own windows, filled once at start-up.
    static WindowRegistry& program();

private:
    struct Entry {
        QString className;
        WindowFactory make;
    };
    QList<Entry> entries_;
};

// Creates a new instance of the window, shows it modally over `parent` and frees it when it closes.
// An error while the window loads is shown by the error report and `parent` stays usable. A class
// with nothing registered is a mistake in the program: asserted, and reported as an error where
// assertions are off. Returns the window's result, or -1 when none ran.
int openWindow(const QString& className, QWidget* parent,
               const WindowRegistry& windows = WindowRegistry::program());

} // namespace nc::ui
