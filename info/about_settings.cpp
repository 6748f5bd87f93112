#include "about_settings.h"

#include <QFile>

namespace nc::info {

namespace {
const QString kNotSet = QStringLiteral("未设置");

QString orNotSet(const QString& v) {
    return v.isEmpty() ? kNotSet : v;
}
} // namespace

ContactData readContactData(const QString& settingsPath) {
    ContactData c;
    QFile f(settingsPath);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return c;
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char('[')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("website"))
            c.website = value;
        else if (key == QLatin1String("telephone"))
            c.telephone = value;
    }
    return c;
}

QString websiteLine(const ContactData& c) {
    return QStringLiteral("网址：") + orNotSet(c.website);
}
QString telephoneLine(const ContactData& c) {
    return QStringLiteral("电话：") + orNotSet(c.telephone);
}

} // namespace nc::info
