#pragma once
// The working windows the main window opens, by class name. A window joins the program with one
// line in registerWorkingWindows(); a name with nothing registered is a feature not provided yet.

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace nc::app {

// Makes a new instance of a window, shown modally over `parent` by whoever asked for it.
using WindowFactory = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;

class WindowRegistry {
public:
    void add(const QString& className, WindowFactory make);
    // For a window class constructed as W(QWidget* parent).
    template <class W>
    void add(const QString& className) {
        add(className, [](QWidget* parent) { return std::make_unique<W>(parent); });
    }

    bool contains(const QString& className) const;
    QStringList classNames() const; // in the order they were added
    // A fresh instance, or nullptr when no window of that class is registered.
    std::unique_ptr<QDialog> create(const QString& className, QWidget* parent) const;

    // The program's own windows, as registerWorkingWindows() lists them.
    static const WindowRegistry& standard();

private:
    struct Entry {
        QString className;
        WindowFactory make;
    };
    QList<Entry> entries_;
};

// The one list of working windows (app/working_windows.cpp).
void registerWorkingWindows(WindowRegistry& registry);

} // namespace nc::app
