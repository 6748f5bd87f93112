#pragma once
// The list of matching foods that drops down under the food name box while the counsellor types:
// Up/Down move through it, Enter picks, Esc closes it; a click picks too. The box keeps the focus all
// the while, so typing goes on undisturbed. Which names match is the caller's (FoodIndex::match).

#include <QListWidget>

#include <functional>

class QLineEdit;

namespace nc::diet {

class TypeAheadList : public QListWidget {
    Q_OBJECT
public:
    using Matcher = std::function<QStringList(const QString& text)>;

    // Watches `edit` (and `keySource`, the widget that receives its keys when that is another, as an
    // editable combo box). The list is a child of `parent`, drawn under the box, at most `width` wide.
    TypeAheadList(QLineEdit* edit, QWidget* keySource, Matcher matcher, QWidget* parent, int width);

    // Shows the matches of the box's text (the recent foods for an empty text); hides when none.
    void refresh();
    // The highlighted name, empty when the list is hidden or has none.
    QString highlighted() const;

Q_SIGNALS:
    // A name was picked (Enter on a highlighted name, or a click); it is in the box already.
    void picked(const QString& name);
    // Enter was pressed with no list showing.
    void enterWithoutList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(const QString& name);
    void place();

    QLineEdit* edit_;
    Matcher matcher_;
    int width_;
};

} // namespace nc::diet
