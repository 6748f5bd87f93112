#include "messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace nc::ui {

namespace {

class BoxSink : public MessageSink {
public:
    void inform(const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
    bool confirm(const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    bool ask(const QString& text, const QString& caption, const QString& yes, const QString& no) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        box.button(QMessageBox::Yes)->setText(yes);
        box.button(QMessageBox::No)->setText(no);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    void error(const QString& text) override {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
};

BoxSink g_boxes;
MessageSink* g_sink = nullptr;

} // namespace

void Messages::setSink(MessageSink* sink) {
    g_sink = sink;
}
MessageSink* Messages::sink() {
    return g_sink ? g_sink : &g_boxes;
}

void Messages::inform(const QString& text, const QString& caption) {
    sink()->inform(text, caption.isEmpty() ? kCaptionHint : caption);
}

bool Messages::confirm(const QString& text, const QString& caption) {
    return sink()->confirm(text, caption.isEmpty() ? kCaptionHint : caption);
}

bool Messages::ask(const QString& text, const QString& yes, const QString& no, const QString& caption) {
    return sink()->ask(text, caption.isEmpty() ? kCaptionHint : caption, yes, no);
}

void Messages::error(const QString& text) {
    sink()->error(text);
}

} // namespace nc::ui
