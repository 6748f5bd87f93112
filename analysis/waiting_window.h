#pragma once
// The small borderless waiting window of the two analysis reports: a lime green strip with
// "请稍等，正在处理......". Its timer starts the work once, shortly after the window is shown; the
// window closes itself when the work is done, and after an error has been shown, since it has no
// close button.

#include <QDialog>
#include <QRect>
#include <functional>

class QLabel;
class QTimer;

namespace nc::analysis {

class WaitingWindow : public QDialog {
    Q_OBJECT
public:
    // The waiting text, and the window's ground.
    static const QString kWaitingText;
    static const QColor kLimeGreen;

protected:
    struct Shape {
        QSize clientSize;
        QRect label;
        QColor textColour;
        int delayMs;
    };
    WaitingWindow(const QString& className, const Shape& shape, QWidget* parent);

    // Switches the timer off, runs the work, shows any error through the messages, then closes.
    void runOnce(const std::function<void()>& work);

    void keyPressEvent(QKeyEvent* event) override; // no key ends the wait

    QLabel* Label1;
    QTimer* Timer1;
};

} // namespace nc::analysis
