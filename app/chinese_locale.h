#pragma once
// Chinese (China) for the standard parts of every window: Qt's own dialogs and buttons (file and
// print dialogs, message-box buttons, the overwrite question) and the calendar's month and day names,
// whatever language the machine is set to.

#include <QString>

class QCoreApplication;

namespace nc::app {

// Makes Chinese (China) the default locale and installs Qt's Chinese translations (qtbase_zh_CN)
// from `folder`, by default the translations folder of the Qt the program runs on. Returns whether
// the translations were found; without them the standard texts stay Qt's built-in ones.
bool useChineseLocale(QCoreApplication& app, const QString& folder = QString());

} // namespace nc::app
