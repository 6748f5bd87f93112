#include "client_index.h"

#include "pinyin.h"

#include "data/query.h"

#include <algorithm>

namespace nc::clients {

namespace {

const QString kSavedFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

data::Value savedValue(const QDateTime& saved) {
    if (!saved.isValid())
        return data::Value::null();
    return saved.toString(kSavedFormat);
}

data::Value textValue(const QString& text) {
    return text.isNull() ? data::Value::null() : data::Value(text);
}

// Reads "yyyy-MM-dd HH:mm:ss" field by field: QDateTime::fromString with a format takes about as long
// as the rest of reading a row, and the list reads every client's.
QDateTime savedFrom(const QString& text) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':')
        return QDateTime::fromString(text, kSavedFormat);
    const QStringView v(text);
    bool ok[6] = {};
    const int parts[6] = {v.mid(0, 4).toInt(&ok[0]),  v.mid(5, 2).toInt(&ok[1]),  v.mid(8, 2).toInt(&ok[2]),
                          v.mid(11, 2).toInt(&ok[3]), v.mid(14, 2).toInt(&ok[4]), v.mid(17, 2).toInt(&ok[5])};
    if (!std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }))
        return {};
    const QDateTime t(QDate(parts[0], parts[1], parts[2]), QTime(parts[3], parts[4], parts[5]));
    return t.isValid() ? t : QDateTime();
}

QString withoutSpaces(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text)
        if (!ch.isSpace())
            out += ch;
    return out;
}

} // namespace

qint64 upsertClient(data::Connection& c, const ClientEntry& entry) {
    data::Transaction transaction(c);
    data::Query q(&c);
    auto bindAll = [&] {
        q.setParam(QStringLiteral("file"), entry.file);
        q.setParam(QStringLiteral("name"), textValue(entry.name));
        q.setParam(QStringLiteral("initials"), pinyinInitials(entry.name));
        q.setParam(QStringLiteral("category"), textValue(entry.category));
        q.setParam(QStringLiteral("week"), textValue(entry.week));
        q.setParam(QStringLiteral("stage"), textValue(entry.stage));
        q.setParam(QStringLiteral("saved"), savedValue(entry.saved));
    };
    q.setSql(QStringLiteral("update clients set name = :name, initials = :initials, category = :category, "
                            "week = :week, stage = :stage, saved = :saved where file = :file"));
    bindAll();
    if (q.execute() == 0) {
        q.setSql(QStringLiteral("insert into clients (file, name, initials, category, week, stage, saved) "
                                "values (:file, :name, :initials, :category, :week, :stage, :saved)"));
        bindAll();
        q.execute();
    }
    q.setSql(QStringLiteral("select id from clients where file = :file"));
    q.setParam(QStringLiteral("file"), entry.file);
    q.open();
    const qint64 id = q.field(QStringLiteral("id")).toInteger();
    transaction.commit();
    return id;
}

bool removeClient(data::Connection& c, const QString& file) {
    data::Query q(&c);
    q.setSql(QStringLiteral("delete from clients where file = :file"));
    q.setParam(QStringLiteral("file"), file);
    return q.execute() > 0;
}

namespace {

QList<ClientEntry> entriesOf(const data::Query& q) {
    QList<ClientEntry> out;
    out.reserve(q.recordCount());
    for (const auto& row : q.rows()) {
        ClientEntry e;
        e.id = row[0].toInteger();
        e.file = row[1].toText();
        e.name = row[2].toText();
        e.initials = row[3].isNull() ? pinyinInitials(e.name) : row[3].toText();
        e.category = row[4].toText();
        e.week = row[5].toText();
        e.stage = row[6].toText();
        if (!row[7].isNull())
            e.saved = savedFrom(row[7].toText());
        out << e;
    }
    return out;
}

} // namespace

QList<ClientEntry> readClients(data::Connection& c) {
    data::Query q(&c);
    q.setSql(QStringLiteral("select id, file, name, initials, category, week, stage, saved from clients "
                            "order by saved is null, saved desc, name, id"));
    q.open();
    return entriesOf(q);
}

std::optional<ClientEntry> readClient(data::Connection& c, qint64 id) {
    data::Query q(&c);
    q.setSql(QStringLiteral("select id, file, name, initials, category, week, stage, saved from clients "
                            "where id = :id"));
    q.setParam(QStringLiteral("id"), id);
    q.open();
    const QList<ClientEntry> found = entriesOf(q);
    return found.isEmpty() ? std::nullopt : std::optional<ClientEntry>(found.first());
}

QList<ClientEntry> filterClients(const QList<ClientEntry>& clients, const QString& typed) {
    const QString text = withoutSpaces(typed).toLower();
    if (text.isEmpty())
        return clients;
    QList<ClientEntry> out;
    for (const ClientEntry& e : clients) {
        const bool matches = withoutSpaces(e.name).contains(text, Qt::CaseInsensitive) ||
                             e.initials.contains(text, Qt::CaseInsensitive) ||
                             withoutSpaces(pinyinFull(e.name)).startsWith(text);
        if (matches)
            out << e;
    }
    return out;
}

} // namespace nc::clients
