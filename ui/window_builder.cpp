#include "window_builder.h"

#include <QHeaderView>
#include <QTableView>

namespace nc::ui {

namespace face {

Face button(const QString& caption, art::Tone tone, art::Glyph glyph) {
    return [caption, tone, glyph](QSize size) { return art::buttonFace(size, caption, tone, glyph); };
}
Face closeMark() {
    return &art::closeMark;
}
Face dropDownArrow() {
    return &art::dropDownArrow;
}
Face magnifier() {
    return &art::magnifier;
}
Face fieldFrame() {
    return &art::fieldFrame;
}
Face text(const QString& text, int pixelSize, Qt::Alignment align) {
    return [text, pixelSize, align](QSize size) { return art::textPicture(size, text, pixelSize, align); };
}
Face picture(const QPixmap& picture) {
    return [picture](QSize) { return picture; };
}

} // namespace face

WindowBuilderBase::WindowBuilderBase(QWidget* window, const WindowShape& shape) : window_(window) {
    window->setObjectName(QString::fromLatin1(shape.name));
    if (!shape.title.isNull())
        window->setWindowTitle(shape.title);
    setUpWindow(window, shape.client, shape.frame);
    if (!shape.background.isNull()) {
        const QRect place =
            shape.backgroundPlace.isNull() ? QRect(QPoint(0, 0), shape.client) : shape.backgroundPlace;
        background_ =
            new PictureButton(QString::fromLatin1(shape.backgroundName), place, shape.background, window);
    }
    hover_ = new HoverLift(window);
    if (background_)
        hover_->setBackground(background_);
}

QLabel* WindowBuilderBase::subject(const QRect& place) const {
    auto* label = make<QLabel>("Subject", place, art::font(15, QFont::Bold));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, art::colour::roseDeep);
    label->setPalette(pal);
    return label;
}

QTableView* WindowBuilderBase::listGrid(const char* name, const QRect& place,
                                        QAbstractItemModel* model) const {
    auto* grid = make<QTableView>(name, place, art::font(14));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(30);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

PictureButton* WindowBuilderBase::makePicture(const char* name, const QRect& place, int restTop,
                                              int raisedTop, const Face& face) const {
    auto* b =
        new PictureButton(QString::fromLatin1(name), place, face ? face(place.size()) : QPixmap(), window_);
    if (restTop != kNoLift)
        hover_->add(b, restTop, raisedTop);
    return b;
}

} // namespace nc::ui
