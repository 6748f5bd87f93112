// The standard parts of the windows speak Chinese whatever the machine's language: Qt's translations
// and the Chinese (China) locale are installed at start-up, and a missing translation file leaves
// Qt's built-in texts without any complaint.

#include "app/chinese_locale.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

class TestChineseLocale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() {
        for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }

    void standardTextsAreChinese() {
        QVERIFY(nc::app::useChineseLocale(*qApp));
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        QMessageBox box;
        QCOMPARE(box.addButton(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(box.addButton(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Save"), QStringLiteral("保存(&S)"));
        QCalendarWidget calendar;
        QCOMPARE(calendar.locale().standaloneMonthName(3), QStringLiteral("三月"));
        QCOMPARE(calendar.locale().dayName(1, QLocale::ShortFormat), QStringLiteral("周一"));
    }

    void aMissingTranslationFallsBackSilently() {
        QTemporaryDir empty;
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QVERIFY(!nc::app::useChineseLocale(*qApp, empty.path()));
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        QMessageBox box;
        QCOMPARE(box.addButton(QMessageBox::Ok)->text(), QStringLiteral("OK"));
        QVERIFY(qApp->findChildren<QTranslator*>().isEmpty());
    }
};

QTEST_MAIN(TestChineseLocale)
#include "tst_chinese_locale.moc"
