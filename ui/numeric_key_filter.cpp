#include "numeric_key_filter.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace nc::ui {

NumericKeyFilter* NumericKeyFilter::install(QLineEdit* edit) {
    auto* filter = new NumericKeyFilter(edit);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->installEventFilter(filter);
    return filter;
}

bool NumericKeyFilter::passes(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true; // they edit the box or type nothing into it
    default:
        break;
    }
    // Copy, paste, select all and the like are commands, not typed characters.
    if (modifiers & (Qt::ControlModifier | Qt::MetaModifier))
        return true;
    if (text.isEmpty())
        return true; // cursor keys, Home, End, function keys
    for (const QChar c : text)
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.'))
            return false;
    return true;
}

void NumericKeyFilter::refuse() {
    QApplication::beep();
    Q_EMIT refused();
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!passes(key->key(), key->modifiers(), key->text())) {
            refuse();
            return true;
        }
    } else if (event->type() == QEvent::InputMethod) {
        const auto* im = static_cast<QInputMethodEvent*>(event);
        if (!passes(0, Qt::NoModifier, im->commitString())) {
            refuse();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace nc::ui
