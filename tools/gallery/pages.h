#pragma once
// The gallery's pages: one picture per window, each made the way the window's opener makes it.

#include "data/database_builder.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace nc::gallery {

struct Page {
    QString file; // picture name without ".png"
    std::function<std::unique_ptr<QWidget>()> make;
};

// Records added to the gallery's database beside the shipped contents, so the pictures show real
// data: a few days of a diet record with their foods, and a saved recipe.
QList<data::SeedTable> sampleRecords();

// Added to the name of every report the gallery saves while a page runs ("" for most pages), so a
// layout printed a second time (by the other evaluation standard) does not replace the first.
QString& reportNameSuffix();

// Every page, in order: the fixed list in pages.cpp, then every working window the main window opens.
QList<Page> pages();

} // namespace nc::gallery
