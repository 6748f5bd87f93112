#pragma once
// A line edit bound to one column of a data set's current row (a DBEdit). It shows the stored value,
// and typing into it edits the row, so the data set always holds what the counsellor sees and a move
// to another row stores it. Keys that cannot belong to the column's type are refused with a beep;
// Esc puts back the value the row had before editing began. Read-only edits (setReadOnly) only show.

#include "data/dataset.h"

#include <QLineEdit>
#include <QPointer>

namespace nc::ui {

class BoundLineEdit : public QLineEdit {
    Q_OBJECT
public:
    // name becomes the objectName (the control's name, such as "DBEdit5").
    explicit BoundLineEdit(const QString& name, QWidget* parent = nullptr);

    // Binds the edit to a column of the data set's current row and shows its value. A field the open
    // data set lacks shows nothing and refuses typing.
    void bind(data::DataSet* dataSet, const QString& field);
    data::DataSet* dataSet() const { return ds_; }
    const QString& field() const { return field_; }

    // How the counsellor knows the field ("能量"), used in messages; the column name by default.
    void setDisplayName(const QString& name) { displayName_ = name; }
    QString displayName() const { return displayName_.isEmpty() ? field_ : displayName_; }

    // Text the column cannot hold (pasted letters, "1.2.3"). It stays shown so it can be corrected;
    // the data set keeps the last value that could be read. Whoever stores the row asks first.
    bool hasUnreadableText() const { return unreadable_; }
    // The message for such text, naming the field; empty when the text is fine.
    QString unreadableTextMessage() const;

    // Puts back the value the row had before editing began (what Esc does).
    void restoreStoredValue();

    // The text shown for a value of a column type: nothing for null, reals with up to 15 significant
    // digits.
    static QString textOf(const data::Value& v, data::ColumnType type);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool accepts(const QString& typed) const;
    void userEdited(const QString& text);
    void load();   // shows the current row's value
    void follow(); // after a change of the row: reload unless the change was ours
    data::Value current() const;

    QPointer<data::DataSet> ds_;
    QString field_;
    QString displayName_;
    data::Value written_; // what the data set held after the last change typed here
    bool unreadable_ = false;
    bool writing_ = false;
};

} // namespace nc::ui
