#pragma once
// The key filter of numeric text boxes: of the characters typed, only the digits "0" to "9" and the
// point "." reach the box; every other character is dropped with a beep, so "12,5" cannot silently
// become 125. Editing keys (Backspace, Delete, the cursor keys, Home, End), keys that type nothing
// (Tab, Enter, Esc) and Ctrl shortcuts pass. The filter does not limit the number of points: whatever
// reads the number decides about malformed text.

#include <QObject>

class QLineEdit;

namespace nc::ui {

class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit NumericKeyFilter(QObject* parent = nullptr) : QObject(parent) {}

    // Installs a filter owned by the edit, and turns the edit's input method off so that composed
    // text (a Chinese input method) cannot bypass it.
    static NumericKeyFilter* install(QLineEdit* edit);

    // The rule itself: whether a key press with this key, modifiers and typed text reaches the box.
    static bool passes(int key, Qt::KeyboardModifiers modifiers, const QString& text);

Q_SIGNALS:
    // A key press or input-method text was dropped (the beep has sounded).
    void refused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refuse();
};

} // namespace nc::ui
