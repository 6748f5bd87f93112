#include "database_builder.h"

#include "connection.h"
#include "errors.h"
#include "value.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace nc::data {

namespace {

struct SeedFile {
    const char* file;
    const char* table;
    int since = 0; // the update that added the table; a seed folder of an earlier file has no such file
};

// Which seed file fills which table. The food composition figures keep their own file names.
constexpr SeedFile kSeedFiles[] = {
    {"foodkind.csv", "foodkind"}, {"foods.csv", "Foodnurti"},         {"personinf.csv", "personinf"},
    {"lstzpj.csv", "lstzpj"},     {"lsyysfx.csv", "lsyysfx"},         {"sdrn.csv", "sdrn"},
    {"app_pj.csv", "app_pj"},     {"portions.csv", "foodportion", 2},
};

// A raw handle on the file being made; closed on every path out.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() {
        if (db)
            sqlite3_close_v2(db);
    }
    void check(int rc, const QString& what) const {
        if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
            throw DbError(what + QStringLiteral("（") + QString::fromUtf8(sqlite3_errmsg(db)) +
                          QStringLiteral("）"));
    }
};

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

void insertSeed(const Handle& h, const SeedTable& seed) {
    QStringList cols, marks;
    for (int i = 0; i < seed.data.header.size(); ++i) {
        cols << quoted(seed.data.header[i].trimmed());
        marks << QStringLiteral("?%1").arg(i + 1);
    }
    const QByteArray sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoted(seed.table), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
            .toUtf8();
    sqlite3_stmt* raw = nullptr;
    h.check(sqlite3_prepare_v2(h.db, sql.constData(), -1, &raw, nullptr),
            QStringLiteral("表 %1 的初始数据无法写入").arg(seed.table));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> st(raw, sqlite3_finalize);
    for (const QStringList& row : seed.data.rows) {
        sqlite3_reset(st.get());
        for (int i = 0; i < row.size(); ++i) {
            const QString& cell = row[i];
            if (cell.isEmpty()) {
                sqlite3_bind_null(st.get(), i + 1);
            } else {
                // Bound as text: the column's type turns "332" into a number and keeps "01" as text.
                const QByteArray utf8 = cell.toUtf8();
                sqlite3_bind_text(st.get(), i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
        }
        h.check(sqlite3_step(st.get()), QStringLiteral("表 %1 的初始数据无法写入").arg(seed.table));
    }
}

} // namespace

QString readTextFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(
            QStringLiteral("无法读取文件“%1”：%2").arg(QDir::toNativeSeparators(path), f.errorString()));
    return QString::fromUtf8(f.readAll());
}

QList<SeedTable> readSeedFolder(const QString& seedDir) {
    QList<SeedTable> seeds;
    for (const SeedFile& s : kSeedFiles) {
        const QString path = QDir(seedDir).filePath(QString::fromLatin1(s.file));
        if (s.since > 0 && !QFileInfo::exists(path))
            continue; // the folder is of a file made before that table existed
        seeds.append({QString::fromLatin1(s.table), readCsvFile(path)});
    }
    return seeds;
}

void createDatabase(const QString& path, const QString& password, const QString& schemaSql,
                    const QList<SeedTable>& seeds, int version) {
    if (QFileInfo::exists(path))
        throw Error(QStringLiteral("数据库文件“%1”已经存在，未做改动。").arg(QDir::toNativeSeparators(path)));
    const QString temp = QStringLiteral("%1.new-%2").arg(path).arg(QCoreApplication::applicationPid());
    QFile::remove(temp);
    try {
        {
            Handle h;
            h.check(sqlite3_open_v2(temp.toUtf8().constData(), &h.db,
                                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
                    QStringLiteral("无法创建数据库文件“%1”").arg(QDir::toNativeSeparators(temp)));
            const QByteArray key = password.toUtf8();
            h.check(sqlite3_key(h.db, key.constData(), int(key.size())),
                    QStringLiteral("无法设置数据库密钥"));
            h.check(sqlite3_exec(h.db, "BEGIN", nullptr, nullptr, nullptr), QStringLiteral("无法开始写入"));
            h.check(sqlite3_exec(h.db, schemaSql.toUtf8().constData(), nullptr, nullptr, nullptr),
                    QStringLiteral("数据库结构无法建立"));
            for (const SeedTable& s : seeds)
                insertSeed(h, s);
            const QByteArray stamp = QStringLiteral("PRAGMA user_version = %1").arg(version).toUtf8();
            h.check(sqlite3_exec(h.db, stamp.constData(), nullptr, nullptr, nullptr),
                    QStringLiteral("数据库版本无法记录"));
            h.check(sqlite3_exec(h.db, "COMMIT", nullptr, nullptr, nullptr),
                    QStringLiteral("初始数据无法保存"));
        }
        if (!QFile::rename(temp, path))
            throw Error(QStringLiteral("无法把新数据库移到“%1”。").arg(QDir::toNativeSeparators(path)));
    } catch (...) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace nc::data
