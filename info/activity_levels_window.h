#pragma once
// The activity-level standards window (TForm2): the table of adult activity levels that helps the
// counsellor choose the person's level; closes on a double click on the table or on 退出.

#include <QDialog>

namespace nc::info {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    void Image1DblClick();
    void Image2Click();
};

// The table as the window shows it, drawn by code: heading, column titles and the three levels.
QPixmap activityLevelTable(QSize size);

} // namespace nc::info
