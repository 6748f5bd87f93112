#pragma once
// The personal record window (TForm3): the one person's record with its category-dependent fields,
// save, clear, the physique evaluation with its printed report, and the way to the activity-level
// table.

#include "data/query.h"
#include "report/report_engine.h"
#include "ui/window_registry.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace nc::ui {
class HoverLift;
class PictureButton;
} // namespace nc::ui

namespace nc::person {

struct RecordInput;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr,
                    const ui::WindowRegistry& windows = ui::WindowRegistry::program());

    // Whether the save routine ends with "数据保存成功！". Lives for the whole process: 保存 sets it,
    // 体格评价 clears it, each just before the save runs.
    static bool& confirmationFlag();

    void FormCreate();
    void ComboBox1Change();
    void Image2Click();  // 保存
    void Image3Click();  // 清除
    void Image4Click();  // 体格评价
    void Image6Click();  // 退出
    void Image18Click(); // close mark
    void Image19Click(); // the activity-level table
    void Image20Click();
    void Image21Click();
    void BitBtn1Click(); // the save routine

private:
    void applyCategoryLayout();
    // The empty-field check: focuses the first empty control and answers false, saying nothing for an
    // empty field and naming an unchosen category or activity level.
    bool inputsComplete();
    // The save's checks (checkInput): a malformed or out-of-range number, or a pregnant woman's period
    // date outside the allowed days, is named in a message and focused.
    bool numbersValid();
    RecordInput input() const;
    void evaluate();

    const ui::WindowRegistry& windows_;
    ui::HoverLift* hover_ = nullptr;

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QDateEdit* DateTimePicker1;
    QPushButton* BitBtn1;
    ui::PictureButton* Image7;  // label 现体重
    ui::PictureButton* Image8;  // label 非孕体重
    ui::PictureButton* Image9;  // frame of Edit4
    ui::PictureButton* Image10; // label 末次月经日期
    ui::PictureButton* Image11; // label 孕前体重
    ui::PictureButton* Image12; // unit of Edit4
    ui::PictureButton* Image13; // unit of Edit5
    ui::PictureButton* Image14; // frame of Edit5
    ui::PictureButton* Image15; // frame of DateTimePicker1

    data::Query ADOQuery_gy;  // the record as loaded; the category layout takes the weights from it
    data::Query ADOQxxx;      // the record for the report
    data::Query ADOQuery_pic; // the evaluation row for the chart and the report
    report::RvSystem RvSystem2;
};

} // namespace nc::person
