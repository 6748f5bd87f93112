#include "type_ahead.h"

#include "ui/artwork.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace nc::diet {

namespace {
constexpr int kVisibleRows = 10;
constexpr int kRowHeight = 24;
} // namespace

TypeAheadList::TypeAheadList(QLineEdit* edit, QWidget* keySource, Matcher matcher, QWidget* parent, int width)
    : QListWidget(parent), edit_(edit), matcher_(std::move(matcher)), width_(width) {
    setObjectName(QStringLiteral("TypeAhead"));
    setFocusPolicy(Qt::NoFocus);
    setFont(ui::art::font(14));
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(QStringLiteral("QListWidget#TypeAhead { border: 1px solid %1; background: white; }"
                                 " QListWidget#TypeAhead::item { height: %2px; padding-left: 4px; }")
                      .arg(ui::art::colour::line.name())
                      .arg(kRowHeight));
    hide();
    edit_->installEventFilter(this);
    if (keySource && keySource != edit_)
        keySource->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this, [this] {
        if (edit_->text().trimmed().isEmpty())
            hide();
        else
            refresh();
    });
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { pick(item->text()); });
}

void TypeAheadList::refresh() {
    const QStringList names = matcher_(edit_->text());
    clear();
    if (names.isEmpty()) {
        hide();
        return;
    }
    for (const QString& n : names) {
        auto* item = new QListWidgetItem(n, this);
        item->setToolTip(n);
    }
    setCurrentRow(0);
    place();
    show();
    raise();
}

QString TypeAheadList::highlighted() const {
    return !isHidden() && currentItem() ? currentItem()->text() : QString();
}

void TypeAheadList::place() {
    const QPoint under = edit_->mapTo(parentWidget(), QPoint(0, edit_->height()));
    // Line up with the box's frame, not its text area.
    const QWidget* frame =
        edit_->parentWidget() && edit_->parentWidget() != parentWidget() ? edit_->parentWidget() : edit_;
    const QPoint left = frame->mapTo(parentWidget(), QPoint(0, frame->height()));
    const int rows = std::min(count(), kVisibleRows);
    const int x = std::min(left.x(), parentWidget()->width() - width_ - 2);
    setGeometry(x, std::max(under.y(), left.y()) + 1, width_, rows * kRowHeight + 2 * frameWidth());
}

void TypeAheadList::pick(const QString& name) {
    hide();
    edit_->setText(name);
    Q_EMIT picked(name);
}

bool TypeAheadList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == edit_) {
        hide();
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool shortcut = event->type() == QEvent::ShortcutOverride;
    switch (key->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up: {
        if (shortcut)
            return false;
        if (isHidden()) {
            refresh(); // Down on a box with nothing typed offers the foods used lately
            return true;
        }
        const int step = key->key() == Qt::Key_Down ? 1 : -1;
        setCurrentRow(std::clamp(currentRow() + step, 0, count() - 1));
        return true;
    }
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
        if (shortcut || isHidden())
            return false;
        setCurrentRow(std::clamp(
            currentRow() + (key->key() == Qt::Key_PageDown ? kVisibleRows : -kVisibleRows), 0, count() - 1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (shortcut)
            return false;
        if (!highlighted().isEmpty())
            pick(highlighted());
        else
            Q_EMIT enterWithoutList();
        return true;
    case Qt::Key_Escape:
        if (isHidden())
            return false;
        if (shortcut) {
            event->accept(); // Esc closes the list, not the window
            return true;
        }
        hide();
        return true;
    default:
        return false;
    }
}

} // namespace nc::diet
