#pragma once
// The main window (TForm1): the hub with six picture buttons and a small one for the settings. It owns
// the process's database connection, opens each working window anew and modally, and ends the program
// when it is closed.

#include "data/connection.h"
#include "ui/window_registry.h"

#include <QWidget>

class QLabel;

#include <functional>

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::app {

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(const ui::WindowRegistry& windows = ui::WindowRegistry::program(),
                    QWidget* parent = nullptr);
    ~TForm1() override;

    // What ends the program. By default the application leaves its event loop at once, so the
    // process ends without handling any further event; tests put a recorder here.
    void setQuit(std::function<void()> quit) { quit_ = std::move(quit); }

    // The working window behind each button, by class name.
    static QString windowOf(const QString& buttonName);

    void FormCreate();
    void Image1MouseMove();
    void Image8Click();
    void Image9Click();
    void Image10Click();
    void Image11Click();
    void Image12Click();
    void Image13Click();
    void Image14Click(); // the settings
    void Image15Click(); // the client list

    // Shows the current client in the main window: her name, category and week, so no one enters a
    // diet for the wrong woman. Called at start and whenever the client list closes.
    void showCurrentClient();
    void FormCloseQuery();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Creates the window anew, shows it modally and frees it.
    void openWindow(const QString& className);

    const ui::WindowRegistry& windows_;
    std::function<void()> quit_;
    data::Connection ADOConnection1;
    ui::HoverLift* hover_;
    ui::PictureButton* Image1;
    QLabel* DataFolder;
    QLabel* CurrentClient;
};

} // namespace nc::app
