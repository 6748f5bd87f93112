#include "sheet_list.h"

#include <QDir>
#include <QFileInfo>

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
    return QDir(programFolder).filePath(QStringLiteral("sp/") + sheetFileName(item));
}

QString sheetFileName(const QString& item, int scale) {
    const QString suffix = scale > 1 ? QStringLiteral("@%1x.jpg").arg(scale) : QStringLiteral(".jpg");
    return item.trimmed() + suffix;
}

QString sheetPathForScreen(const QString& programFolder, const QString& item, qreal pixelRatio) {
    const QString plain = sheetPath(programFolder, item);
    if (pixelRatio <= 1)
        return plain;
    const QFileInfo sharp(QDir(programFolder).filePath(QStringLiteral("sp/") + sheetFileName(item, 2)));
    const QFileInfo plainInfo(plain);
    if (sharp.isFile() && (!plainInfo.exists() || sharp.lastModified() >= plainInfo.lastModified()))
        return sharp.filePath();
    return plain;
}

} // namespace nc::info
