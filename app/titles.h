#pragma once
// The program's names: the application title (its name on the task bar) and the product title line
// (the main window's caption), plus the lines painted on the splash and the main window.

#include <QString>

namespace nc::app {

inline const QString kApplicationTitle = QStringLiteral("女性膳食营养咨询系统");
inline const QString kProductTitleLine = QStringLiteral("女性膳食营养咨询系统 —— 育龄妇女 · 孕妇 · 乳母");

// Painted under the name on the splash picture and on the main window's background.
inline const QString kSplashSubtitle = QStringLiteral("育龄妇女 · 孕妇 · 乳母 膳食营养咨询");
inline const QString kMainSubtitle = QStringLiteral("为育龄妇女、孕妇和乳母提供膳食评价与营养指导");

} // namespace nc::app
