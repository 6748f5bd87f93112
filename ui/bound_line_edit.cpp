#include "bound_line_edit.h"

#include "data/datasetmodel.h"
#include "data/errors.h"
#include "guard.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace nc::ui {

using data::DataSet;
using data::Value;

BoundLineEdit::BoundLineEdit(const QString& name, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { userEdited(text); });
}

void BoundLineEdit::bind(DataSet* dataSet, const QString& field) {
    if (ds_)
        disconnect(ds_, nullptr, this, nullptr);
    ds_ = dataSet;
    field_ = field;
    if (ds_) {
        connect(ds_, &DataSet::currentRowChanged, this, [this] { load(); });
        connect(ds_, &DataSet::resetDone, this, [this] { load(); });
        connect(ds_, &DataSet::stateChanged, this, [this](DataSet::State s) {
            if (s == DataSet::State::Browse || s == DataSet::State::Inactive)
                load(); // stored, undone or closed: show what the row holds now
        });
        connect(ds_, &DataSet::rowChanged, this, [this](int row) {
            if (ds_ && row == ds_->currentRow())
                follow();
        });
    }
    load();
}

QString BoundLineEdit::textOf(const Value& v, data::ColumnType type) {
    return data::DataSetModel::displayText(v, type);
}

Value BoundLineEdit::current() const {
    if (!ds_ || !ds_->isOpen() || ds_->fieldIndex(field_) < 0)
        return {};
    return ds_->field(field_);
}

void BoundLineEdit::load() {
    if (writing_)
        return; // the change is ours: the text already shows it
    written_ = current();
    unreadable_ = false;
    setText(textOf(written_, ds_ ? ds_->fieldType(field_) : data::ColumnType::Other));
}

void BoundLineEdit::follow() {
    if (writing_)
        return;
    if (!ds_ || ds_->state() == DataSet::State::Browse) {
        load();
        return;
    }
    // Another field of the row changed, or code set this one: keep what is typed here unless the
    // data set's value of this field is no longer the one typed.
    const Value v = current();
    if (v == written_)
        return;
    load();
}

bool BoundLineEdit::accepts(const QString& typed) const {
    for (const QChar c : typed) {
        if (!c.isPrint())
            continue; // Backspace, Tab, Enter and the like are keys, not characters of a value
        if (!ds_ || !ds_->isOpen() || ds_->fieldIndex(field_) < 0 || !ds_->acceptsChar(field_, c))
            return false;
    }
    return true;
}

void BoundLineEdit::userEdited(const QString& text) {
    if (isReadOnly())
        return;
    if (!ds_ || !ds_->isOpen() || ds_->fieldIndex(field_) < 0) {
        load(); // nothing to edit: show what there is
        return;
    }
    guard([&] {
        QScopedValueRollback<bool> ours(writing_, true);
        try {
            // Empty text means no value, whatever the column's type.
            if (text.isEmpty())
                ds_->setField(field_, Value());
            else
                ds_->setFieldText(field_, text);
            unreadable_ = false;
        } catch (const data::ConversionError&) {
            // Keep the text for correction; the row is being edited all the same, so that whoever
            // stores it hears about the text first.
            if (ds_->state() == DataSet::State::Browse)
                ds_->edit();
            unreadable_ = true;
        }
        written_ = current();
    });
}

QString BoundLineEdit::unreadableTextMessage() const {
    if (!unreadable_)
        return {};
    const data::ColumnType type = ds_ ? ds_->fieldType(field_) : data::ColumnType::Other;
    const QString kind = type == data::ColumnType::Integer    ? QStringLiteral("整数")
                         : type == data::ColumnType::DateTime ? QStringLiteral("日期")
                                                              : QStringLiteral("数值");
    return QStringLiteral("“%1”中的“%2”不是有效的%3，请改正后再保存。").arg(displayName(), text(), kind);
}

void BoundLineEdit::restoreStoredValue() {
    if (!ds_ || !ds_->isOpen() || ds_->fieldIndex(field_) < 0)
        return;
    guard([&] {
        {
            QScopedValueRollback<bool> ours(writing_, true);
            ds_->revertField(field_);
        }
        load();
    });
}

void BoundLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && ds_) {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            restoreStoredValue();
            event->accept(); // Esc here undoes the field; it does not close the window
            return;
        }
        const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
        if (!shortcut && !accepts(event->text())) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void BoundLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!isReadOnly() && ds_ && !accepts(event->commitString())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

} // namespace nc::ui
