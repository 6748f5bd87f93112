// The program nutricounsel: dietary counselling for women of childbearing age, pregnant women and
// nursing mothers. It reads no command line, settings or environment.

#include "chinese_locale.h"
#include "startup.h"
#include "ui/artwork.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nc::app::useChineseLocale(app);
    nc::ui::art::applyTheme(app);
    return nc::app::runProgram();
}
