#pragma once
// The recipe sheets as their text sources describe them: a title (the sheet's name in the recommended
// recipes list), a layout, and sections. A menu sheet's sections are its meals, each with dishes made
// of foods of the food table and their weights; the other sheets hold labelled paragraphs, bullets or
// a table.
//
// Source format (UTF-8, one sheet per file):
//   # a comment line
//   标题：育龄妇女食谱1              header lines "key：value" before the first section
//   版式：食谱 | 药膳 | 表格 | 说明
//   类别：育龄 | 孕妇 | 乳母         menus: whose reference intakes the menu is checked against
//   孕天：130                      menus for a pregnant woman: the pregnancy day count
//   副题、提要、尾注                 subtitle, an opening line, footer lines (尾注 may repeat)
//   ## 早餐                        a section
//   馒头                           menus: a dish, then its foods indented by two blanks:
//     面粉=小麦粉（代表值） 75         [label=]exact food name, blank, grams
//   原料：…  /  - …  /  | a | b |   other sheets: labelled paragraph, bullet, table row

#include <QList>
#include <QString>
#include <QStringList>

namespace nc::sheets {

struct Ingredient {
    QString label; // the short name printed on the sheet
    QString food;  // the food table's exact foodname
    double grams = 0;
};

struct Dish {
    QString name;
    QList<Ingredient> ingredients;
};

struct Section {
    QString heading;
    QStringList lines;  // non-menu sheets: the lines as written
    QList<Dish> dishes; // menu sheets
};

enum class Layout { Menu, Therapy, Table, Notes };

struct Sheet {
    QString source; // file name, for messages
    QString title;
    QString subtitle;
    QString intro;
    QStringList footnotes;
    Layout layout = Layout::Notes;
    QString category; // menus only
    int dayCount = 0; // menus for a pregnant woman
    QList<Section> sections;

    bool isMenu() const { return layout == Layout::Menu; }
    // Every food line of a menu, in menu order (meal, dish, food).
    QList<Ingredient> foodLines() const;
};

// Parses one sheet source; throws nc::data::Error naming the source and line for anything malformed.
Sheet parseSheet(const QString& text, const QString& sourceName);

// Reads every "*.txt" of the folder, in file-name order.
QList<Sheet> readSheetFolder(const QString& folder);

} // namespace nc::sheets
