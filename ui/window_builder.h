#pragma once
// How a window is put together. One call makes what every window shares: its name and caption, its
// frame and fixed size, the background picture and the hover rule over it. The window's controls
// follow as rows of a table, one per control: a picture control is {name, place, rest top, raised
// top, face, handler}; the standard controls are made by small calls that name and place them.
// Every handler given here runs inside guard(), so nothing a handler throws reaches Qt's event loop.

#include "artwork.h"
#include "guard.h"
#include "hover_lift.h"
#include "picture_button.h"
#include "window_setup.h"

#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <climits>
#include <functional>
#include <initializer_list>
#include <optional>

class QAbstractItemModel;
class QTableView;

namespace nc::ui {

// The rest and raised tops of a picture the hover rule leaves where it is (labels, frames, arrows).
inline constexpr int kNoLift = INT_MIN;

// Paints a picture control's face at the control's size.
using Face = std::function<QPixmap(QSize)>;

// The faces of the kit, for the rows of a table.
namespace face {
Face button(const QString& caption, art::Tone tone, art::Glyph glyph = art::Glyph::None);
Face closeMark();
Face dropDownArrow();
Face magnifier();
Face fieldFrame();
Face text(const QString& text, int pixelSize, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);
// A picture painted already, drawn over the whole control.
Face picture(const QPixmap& picture);
} // namespace face

// One picture control of window class W: its name (the objectName, "Image8"), where it starts, the
// tops the hover rule gives it (kNoLift for both when it never lifts; a button may start off its rest
// top), its face, and what a click on it does (nothing when empty). A member function serves as the
// handler: &TForm8::Image2Click.
template <class W> struct PictureRow {
    const char* name;
    QRect place;
    int restTop;
    int raisedTop;
    Face face;
    std::function<void(W&)> click = {};
};

// What every window starts with.
struct WindowShape {
    const char* name = nullptr;            // the objectName: the window's class name, "TForm8"
    QString title = {};                    // the caption; a null title sets none
    QSize client = {};                     // the fixed client size
    Frame frame = Frame::Borderless;       // see setUpWindow
    QPixmap background = {};               // the background; pointer moves over it restore every button
    const char* backgroundName = "Image1"; // its name
    QRect backgroundPlace = {};            // its place; the client area when null
};

// The part of the builder that does not depend on the window's class.
class WindowBuilderBase {
public:
    // Names the window, sets its caption, frame and fixed size (centred), makes the background
    // picture and the hover rule with the background restoring every button.
    WindowBuilderBase(QWidget* window, const WindowShape& shape);

    QWidget* window() const { return window_; }
    PictureButton* background() const { return background_; }
    HoverLift* hover() const { return hover_; }

    // A standard control of class C on the window, named, placed (unless the place is null: a hidden
    // control, or one sized to its contents) and given the font when there is one. Controls are
    // stacked and tabbed through in the order they are made.
    template <class C>
    C* make(const char* name, const QRect& place, const std::optional<QFont>& font = std::nullopt) const {
        auto* c = new C(window_);
        c->setObjectName(QString::fromLatin1(name));
        if (!place.isNull())
            c->setGeometry(place);
        if (font)
            c->setFont(*font);
        return c;
    }

    // The place in the title band where the program names whose data the window works on (the current
    // client): an empty label named "Subject", right-aligned in the title's colour, which the program
    // fills when it opens the window (app/working_windows.cpp). Pointer moves pass through it.
    QLabel* subject(const QRect& place) const;

    // A read-only list of rows on `model` (one row selected at a time, no editing, rows 30 px high,
    // the last column taking what is left): the grids of the client list and the restore window.
    QTableView* listGrid(const char* name, const QRect& place, QAbstractItemModel* model) const;

    // Connects sender's signal to handler (called with the signal's arguments) inside guard().
    template <class Sender, class Signal, class Handler>
    QMetaObject::Connection on(Sender* sender, Signal signal, Handler handler) const {
        return QObject::connect(sender, signal, window_, guarded(std::move(handler)));
    }

protected:
    PictureButton* makePicture(const char* name, const QRect& place, int restTop, int raisedTop,
                               const Face& face) const;

private:
    QWidget* window_;
    PictureButton* background_ = nullptr;
    HoverLift* hover_;
};

// The builder of a window of class W; made as the first thing in W's constructor:
//     ui::WindowBuilder build(this, {.name = "TForm9", .client = {342, 260}, ...});
template <class W> class WindowBuilder : public WindowBuilderBase {
public:
    WindowBuilder(W* window, const WindowShape& shape) : WindowBuilderBase(window, shape), w_(window) {}

    // Makes the row's picture control above the controls made before it.
    PictureButton* picture(const PictureRow<W>& row) const {
        PictureButton* b = makePicture(row.name, row.place, row.restTop, row.raisedTop, row.face);
        if (row.click)
            onClick(b, row.click);
        return b;
    }
    // Makes a table's picture controls in its order; returns them in that order.
    QList<PictureButton*> pictures(std::initializer_list<PictureRow<W>> rows) const {
        QList<PictureButton*> made;
        for (const PictureRow<W>& row : rows)
            made.append(picture(row));
        return made;
    }

    // A push button with its caption; a click runs the handler inside guard().
    QPushButton* pushButton(const char* name, const QRect& place, const QString& caption,
                            std::function<void(W&)> click) const {
        auto* b = make<QPushButton>(name, place);
        b->setText(caption);
        on(b, &QPushButton::clicked, [w = w_, click = std::move(click)](bool) { click(*w); });
        return b;
    }

    // What a click, or a double click, on a picture control does, inside guard().
    void onClick(PictureButton* button, std::function<void(W&)> handler) const {
        on(button, &PictureButton::clicked, [w = w_, handler = std::move(handler)] { handler(*w); });
    }
    void onDoubleClick(PictureButton* button, std::function<void(W&)> handler) const {
        on(button, &PictureButton::doubleClicked, [w = w_, handler = std::move(handler)] { handler(*w); });
    }

private:
    W* w_;
};

} // namespace nc::ui
