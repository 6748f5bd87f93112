#include "hover_lift.h"

#include "guard.h"
#include "picture_button.h"

namespace nc::ui {

namespace {
void moveTop(QWidget* w, int top) {
    if (w && w->y() != top)
        w->move(w->x(), top);
}
} // namespace

void HoverLift::add(PictureButton* button, int restTop, int raisedTop) {
    entries_.append({button, restTop, raisedTop});
    connect(button, &PictureButton::pointerMoved, this, guarded([this, button](QPoint) { raise(button); }));
}

void HoverLift::setBackground(PictureButton* background) {
    connect(background, &PictureButton::pointerMoved, this, guarded([this](QPoint) { restoreAll(); }));
}

void HoverLift::raise(PictureButton* button) {
    for (const Entry& e : entries_)
        if (e.button == button)
            moveTop(e.button, e.raisedTop);
}

void HoverLift::restoreAll() {
    for (const Entry& e : entries_)
        moveTop(e.button, e.restTop);
}

} // namespace nc::ui
