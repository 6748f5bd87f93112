#pragma once
// The maker's contact data shown by the about window, read from a small settings file beside the
// program (about.ini). The build installs it with empty values; whoever ships the program fills in
//   website=…
//   telephone=…
// Lines starting with ';' or '#' and [section] lines are ignored; blanks around keys and values are
// dropped. A missing file, a missing key or an empty value reads as not set.

#include <QString>

namespace nc::info {

inline const QString kAboutSettingsFile = QStringLiteral("about.ini");

struct ContactData {
    QString website;
    QString telephone;
};

ContactData readContactData(const QString& settingsPath);

// The about window's lines: "网址：…" and "电话：…", with 未设置 for a value that is not set.
QString websiteLine(const ContactData& c);
QString telephoneLine(const ContactData& c);

} // namespace nc::info
