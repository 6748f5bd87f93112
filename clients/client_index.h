#pragma once
// The index of clients kept in the shared database: one row per client file with what the client
// list shows (name, group, pregnancy week or stage, when her file was last saved) and the pinyin
// initials of her name, so the list and its search never open the clients' own files.

#include "data/connection.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace nc::clients {

struct ClientEntry {
    qint64 id = 0;    // given by the index
    QString file;     // her file, as the program names it; one row per file
    QString name;     // 林晓雯
    QString initials; // lxw, computed from the name when stored
    QString category; // 育龄 / 孕妇 / 乳母
    QString week;     // pregnancy week, as shown
    QString stage;    // stage (early, middle, late pregnancy; months of nursing), as shown
    QDateTime saved;  // last saved, to the second; invalid when never saved
};

// Stores the client of entry.file: updates her row, or adds one when the file has none. The initials
// are computed from the name (entry.initials is ignored). All-or-nothing. Returns her row's id.
qint64 upsertClient(data::Connection& c, const ClientEntry& entry);

// Removes the row of the file; false when there was none.
bool removeClient(data::Connection& c, const QString& file);

// Every client, the most recently saved first (never saved last), then by name. Initials missing from
// a row (her name changed since the list was last read) are computed from the name.
QList<ClientEntry> readClients(data::Connection& c);

// The row of one client; nullopt when the index has none with that number.
std::optional<ClientEntry> readClient(data::Connection& c, qint64 id);

// The clients matching what the counsellor typed, in the order given. Empty text (or only spaces)
// keeps all. Otherwise, with spaces ignored and without regard to case, a client matches when her
// name contains the text, her initials contain it ("xw" finds 林晓雯), or her full pinyin without
// spaces starts with it ("linx", "linxiaow").
QList<ClientEntry> filterClients(const QList<ClientEntry>& clients, const QString& typed);

} // namespace nc::clients
