#include "sheet_list.h"

#include <QDir>

namespace nc::info {

const QStringList& sheetItems() {
    static const QStringList items = {
        QStringLiteral("育龄妇女食谱1"),
        QStringLiteral("育龄妇女食谱2"),
        QStringLiteral("孕早期食谱（1-3个月）"),
        QStringLiteral("孕中期食谱1（4-6个月）"),
        QStringLiteral("孕中期食谱2（4-6个月）"),
        QStringLiteral("孕后期食谱1（7-9个月）"),
        QStringLiteral("孕后期食谱2（7-9个月）"),
        QStringLiteral("乳母食谱1"),
        QStringLiteral("乳母食谱2"),
        QStringLiteral("乳母食谱3"),
        QStringLiteral("乳母食谱4"),
        QStringLiteral("乳母食谱5"),
        QStringLiteral("妊娠呕吐药膳"),
        QStringLiteral("妊娠肿胀药膳"),
        QStringLiteral("胎动不安药膳"),
        QStringLiteral("胎位不正药膳"),
        QStringLiteral("妊娠子痫药膳"),
        QStringLiteral("妊娠杂症药膳1"),
        QStringLiteral("妊娠杂症药膳2"),
        QStringLiteral("妊娠杂症药膳3"),
        QStringLiteral("产后缺乳药膳"),
        QStringLiteral("孕妇保健药膳"),
        QStringLiteral("孕妇、乳母每日食物品种摄入量"),
        QStringLiteral("膳食营养状况评价"),
    };
    return items;
}

QString sheetPath(const QString& programFolder, const QString& item) {
    return QDir(programFolder).filePath(QStringLiteral("sp/") + item.trimmed() + QStringLiteral(".jpg"));
}

} // namespace nc::info
