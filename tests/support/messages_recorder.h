#pragma once
// Keeps every message the code under test shows and answers its questions from a script, so no
// test ever blocks on a message box. Installed for the life of the object.

#include "ui/messages.h"

#include <QList>
#include <QString>

namespace nc::test {

class MessagesRecorder : public ui::MessageSink {
public:
    enum class Kind { Inform, Confirm, Error };
    struct Entry {
        Kind kind;
        QString text;
        QString caption;
    };

    MessagesRecorder() : previous_(ui::Messages::sink()) { ui::Messages::setSink(this); }
    ~MessagesRecorder() override { ui::Messages::setSink(previous_ == this ? nullptr : previous_); }

    // The answers the next questions get, in order; with none left a question is answered No.
    void answerNext(bool yes) { answers_.append(yes); }

    const QList<Entry>& entries() const { return entries_; }
    bool isEmpty() const { return entries_.isEmpty(); }
    int size() const { return int(entries_.size()); }
    const Entry& last() const { return entries_.last(); }
    QStringList texts() const {
        QStringList t;
        for (const Entry& e : entries_)
            t << e.text;
        return t;
    }
    void clear() { entries_.clear(); }

    void inform(const QString& text, const QString& caption) override {
        entries_.append({Kind::Inform, text, caption});
    }
    bool confirm(const QString& text, const QString& caption) override {
        entries_.append({Kind::Confirm, text, caption});
        return answers_.isEmpty() ? false : answers_.takeFirst();
    }
    void error(const QString& text) override { entries_.append({Kind::Error, text, {}}); }

private:
    ui::MessageSink* previous_;
    QList<Entry> entries_;
    QList<bool> answers_;
};

} // namespace nc::test
