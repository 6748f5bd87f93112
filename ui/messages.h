#pragma once
// Every message and question the program shows goes through here: Qt message boxes by default, a
// recorder in tests. No other code opens a message box.

#include <QString>

namespace nc::ui {

// Where messages go. The default shows modal Qt message boxes over the active window.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void inform(const QString& text, const QString& caption) = 0;
    virtual bool confirm(const QString& text, const QString& caption) = 0; // Yes = true
    virtual void error(const QString& text) = 0;
    // A question whose two buttons say what they do ("恢复" / "不恢复"); true for the first. A sink
    // that does not show buttons answers it as confirm.
    virtual bool ask(const QString& text, const QString& caption, const QString& yes, const QString& no) {
        (void)yes;
        (void)no;
        return confirm(text, caption);
    }
};

class Messages {
public:
    // A plain message with one OK button; the caption "提示" unless another is given.
    static void inform(const QString& text, const QString& caption = {});
    // A question with the buttons Yes and No.
    static bool confirm(const QString& text, const QString& caption = {});
    // A question with two buttons named for what they do; the second is the default.
    static bool ask(const QString& text, const QString& yes, const QString& no, const QString& caption = {});
    // The application-wide error report: the error's own text, one OK button.
    static void error(const QString& text);

    // Replaces where messages go (tests); nullptr restores the message boxes.
    static void setSink(MessageSink* sink);
    static MessageSink* sink();
};

// The caption of plain messages.
inline const QString kCaptionHint = QStringLiteral("提示");

} // namespace nc::ui
