#pragma once
// All the program's artwork, painted by code in one place so that every window looks like the same
// product: window backgrounds with their titles and field labels, picture-button faces, the small
// drop-down arrow, the round close mark, the magnifier and the splash picture. One calm theme: warm
// cream paper, soft rose and sage accents, Noto Sans CJK SC lettering.

#include <QColor>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>

class QApplication;
class QPainter;

namespace nc::ui::art {

// The theme's colours.
namespace colour {
inline const QColor paper{0xFF, 0xF9, 0xF4};    // window ground
inline const QColor blush{0xFB, 0xE9, 0xE4};    // second ground, bands
inline const QColor rose{0xE0, 0x84, 0x8F};     // main accent
inline const QColor roseDeep{0xB9, 0x55, 0x66}; // titles
inline const QColor peach{0xF3, 0xB1, 0x8F};    // warm accent
inline const QColor sage{0x86, 0xB8, 0x94};     // fresh accent
inline const QColor sageDeep{0x4F, 0x8A, 0x62}; //
inline const QColor lavender{0xA8, 0x94, 0xCC}; //
inline const QColor ink{0x4E, 0x3A, 0x44};      // body text
inline const QColor inkSoft{0x8C, 0x75, 0x80};  // secondary text
inline const QColor line{0xE8, 0xD2, 0xCB};     // rules and frames
} // namespace colour

// The lettering of the program (Noto Sans CJK SC) at a pixel size.
QFont font(int pixelSize, QFont::Weight weight = QFont::Normal);

// The screen's device pixel ratio (the highest of all screens; 1 without a GUI application).
qreal screenPixelRatio();

// A picture of `size` logical pixels filled with `fill`, holding the screen's device pixels: every
// picture below is painted on one, in logical coordinates, so its text and lines stay as crisp as the
// widgets' own at 125-200 % scaling while window sizes and positions stay the same.
QPixmap canvas(QSize size, const QColor& fill = Qt::transparent);

// The program's mark (a mother's embrace around a child, with a leaf, on a round ground) centred at
// `centre` with the given radius; the main window, the splash and the application icon show it.
void drawEmblem(QPainter& p, QPointF centre, qreal radius);

// Sets the application's style, font and palette to the theme; called once at start.
void applyTheme(QApplication& app);

// The colour family of a button face.
enum class Tone { Rose, Sage, Peach, Lavender, Neutral };

// A small white line drawing at the left of a button face.
enum class Glyph { None, Person, Bowl, Leaf, Book, Info, Exit, Save, Delete, Cancel, Ok };

// A picture-button face of exactly `size` pixels: a soft rounded plate with the caption (lines split
// at '\n'), shrunk to fit when it is long. Transparent around the plate.
QPixmap buttonFace(QSize size, const QString& caption, Tone tone = Tone::Rose, Glyph glyph = Glyph::None);

// Text painted onto a background, in the background's coordinates.
struct Label {
    QRect rect;
    QString text;
    int pixelSize = 14;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    bool bold = false;
};

// The background of an ordinary window: paper ground inside a thin frame, a title band across the
// top carrying `title`, and the field labels.
struct Backdrop {
    QString title;
    QList<Label> labels;
    int bandHeight = 40; // 0: no title band
};
QPixmap windowBackground(QSize size, const Backdrop& backdrop);

// The main window's background: the product's name, the groups it serves and the emblem.
QPixmap mainBackground(QSize size, const QString& title, const QString& subtitle);

// The splash picture: emblem, product name and a line about start-up, composed to read well when
// the picture is cut to the splash window's slightly smaller client area.
QPixmap splashPicture(QSize size, const QString& title, const QString& subtitle);

// The about window's picture: emblem and product title, a sentence about the system and the credit
// line, leaving a quiet strip at the bottom for the contact lines and the button.
QPixmap aboutPicture(QSize size, const QString& title, const QString& sentence, const QString& credit);

// Small pictures: the arrow laid over a pick-only list, the round close mark and the magnifier.
QPixmap dropDownArrow(QSize size);
QPixmap closeMark(QSize size);
QPixmap magnifier(QSize size);

// A soft white plate with a thin rose edge, laid behind an input field to frame it.
QPixmap fieldFrame(QSize size);

// A line of text on a transparent ground, for field labels and units that are pictures of their own
// (shown and hidden with their field). Shrunk to fit when it is long.
QPixmap textPicture(QSize size, const QString& text, int pixelSize = 16,
                    Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);

} // namespace nc::ui::art
