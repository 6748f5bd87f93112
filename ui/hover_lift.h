#pragma once
// The hover rule of picture buttons: the pointer moving over a button lifts it to its raised top;
// the pointer moving over the window's background puts every button back at its rest top. Each
// window configures it with its own tops, including buttons that start at some other top.

#include <QList>
#include <QObject>
#include <QPointer>

namespace nc::ui {

class PictureButton;

class HoverLift : public QObject {
    Q_OBJECT
public:
    explicit HoverLift(QObject* parent = nullptr) : QObject(parent) {}

    // Registers a button: its pointer moves lift it to raisedTop; restoreAll() puts it at restTop.
    // The button's current top is left as it is until the first of those.
    void add(PictureButton* button, int restTop, int raisedTop);
    // Pointer moves over this picture (the background) restore every button.
    void setBackground(PictureButton* background);

    void raise(PictureButton* button);
    void restoreAll();

private:
    struct Entry {
        QPointer<PictureButton> button;
        int restTop;
        int raisedTop;
    };
    QList<Entry> entries_;
};

} // namespace nc::ui
