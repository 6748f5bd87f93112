#pragma once
// Driving windows as a counsellor would: finding a control by its name, clicking it, clicking a grid
// row, reading a grid column, and standing in for a working window another subsystem provides.

#include "ui/window_registry.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <initializer_list>

namespace nc::test {

// The window's control (or timer, action, …) of that name and type; a missing one ends the test
// program, since every later step would only fail less clearly.
template <class T = QWidget> T* child(const QObject& window, const QString& name) {
    T* c = window.findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

// The same, for a name written as a plain literal.
template <class T = QWidget> T* child(const QObject& window, const char* name) {
    return child<T>(window, QString::fromUtf8(name));
}

// Clicks the named control (a picture button, a push button, any control) in its middle.
inline void click(QWidget& window, const QString& name) {
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

inline void click(QWidget& window, const char* name) {
    click(window, QString::fromUtf8(name));
}

// Clicks a grid row where a user would.
inline void clickRow(QTableView* grid, int row, int col = 0) {
    const QModelIndex at = grid->model()->index(row, col);
    grid->scrollTo(at);
    const QRect cell = grid->visualRect(at);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QApplication::processEvents(); // the data set follows once the click is handled
}

// The texts a grid shows in one column, top to bottom.
inline QStringList column(QTableView* grid, int col) {
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, col).data().toString();
    return out;
}

// Shows the window and makes it active, so focus can be asserted.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// A working window another subsystem provides: notes which class was asked for, over which window,
// whether modally, and what `note` told when it was made; closes itself as soon as it is shown.
class ProbeWindow : public QDialog {
public:
    struct Seen {
        int serial;
        QString className;
        QWidget* parent;
        bool modal;
        QString note;
    };
    static inline QList<Seen> seen;              // every probe shown, in order
    static inline int alive = 0;                 // probes not yet destroyed
    static inline std::function<QString()> note; // read when a probe is made (e.g. a hand-over value)

    ProbeWindow(const QString& className, QWidget* parent)
        : QDialog(parent), className_(className), serial_(++serials_), note_(note ? note() : QString()) {
        ++alive;
    }
    ~ProbeWindow() override { --alive; }

    static void reset() {
        seen.clear();
        alive = 0;
        note = {};
    }
    // A registry making a probe for each class name.
    static ui::WindowRegistry registry(std::initializer_list<const char*> classNames) {
        QStringList names;
        for (const char* n : classNames)
            names << QString::fromLatin1(n);
        return registry(names);
    }
    static ui::WindowRegistry registry(const QStringList& classNames) {
        ui::WindowRegistry r;
        addTo(r, classNames);
        return r;
    }
    static void addTo(ui::WindowRegistry& r, const QStringList& classNames) {
        for (const QString& className : classNames)
            r.add(className,
                  [className](QWidget* parent) { return std::make_unique<ProbeWindow>(className, parent); });
    }

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        seen.append({serial_, className_, parentWidget(), isModal(), note_});
        QTimer::singleShot(0, this, &QDialog::accept);
    }

private:
    static inline int serials_ = 0;
    QString className_;
    int serial_;
    QString note_;
};

} // namespace nc::test
