#pragma once
// The clients of the shared database: which one is current, and making, opening, deleting, exporting
// and importing them. Each client is a file of her own in the folder "clients" beside the shared file
// (data/client_file.h); her row in the index says what the client list shows.

#include "client_index.h"
#include "data/value.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace nc::clients {

// What the index shows of a client's record (her name, category, pregnancy week and stage), read from
// her own file on a connection of its own; `saved` is left for the caller. Throws Error when the file
// cannot be read.
struct RecordSummary {
    data::Value name, category, week, stage;
    QDateTime saved;
};
RecordSummary readRecordSummary(const QString& path, const QString& password);

// Whether the shared database keeps clients apart (it has the index of clients). A file whose update
// to one file per client failed does not: the program then works on the one record it holds, as before.
bool keepsClients(data::Connection& c);

// The current client's row of the index; nullopt when none is current.
std::optional<ClientEntry> currentClient(data::Connection& c);
// Her name as titles show it ("未填姓名的客户" while her record has no name).
QString clientTitle(const ClientEntry& e);

// One line about her: "林晓雯 · 孕妇 · 孕24周（孕中期）", "王芳 · 乳母", "未填姓名的客户".
QString clientSummary(const ClientEntry& e);

// The path of a client's file.
QString clientPath(data::Connection& c, const ClientEntry& e);

// Makes a new client with an empty record (her file, then her row in the index) and makes her
// current. Throws Error with a Chinese sentence; nothing is left half made.
ClientEntry newClient(data::Connection& c);

// Makes the client current and remembers her for the next start. Throws Error when her file cannot
// be used; the client before then stays current. The first time her file is opened on a day, a copy of
// it goes into the backups (data/backups.h) before anything is written to it; returns the Chinese
// sentence to show when that copy could not be made ("" otherwise): she is current all the same.
QString openClient(data::Connection& c, const ClientEntry& e);

struct StartOutcome {
    std::optional<ClientEntry> client; // the client made current
    bool created = false;              // a new, empty client was made (there was none to open)
    QStringList problems;              // a Chinese sentence for each client's file that could not be opened
    QList<ClientEntry> failed;         // those clients, in the same order
    QString backupProblem;             // the day's copy of her file could not be made ("" otherwise)
};
// At start: opens the client used last; when her file cannot be used, the most recently saved other
// one; when the file has no clients at all, a new empty client. When no client's file can be used,
// none is current. Nothing happens for a file that keeps no clients.
StartOutcome openClientAtStart(data::Connection& c);

// Deletes a client: her row leaves the index and her file moves into the backups folder beside the
// shared file ("<name>-client-000003-已删除-yyyyMMdd-HHmmss.dbz"), never destroyed; both or neither.
// When she was current, no client is current afterwards. Returns where the file went.
QString deleteClient(data::Connection& c, const ClientEntry& e);

// Copies a client's file to `target` (made anew; an existing file there is replaced only when the copy
// is complete). The copy is encrypted like her file: under the program's password it opens on any
// computer with this program, under a password of the counsellor's own only with that password. The
// program's own files (the shared file, any file in the clients folder) are refused as a target.
// Throws Error.
void exportClient(data::Connection& c, const ClientEntry& e, const QString& target);

// Takes a client's file from another computer into this program's clients: checks it (it must open
// with the session's password or the program's, and hold a client's tables), copies it under a new
// number (a copy under the program's password takes the session's) and adds her
// row to the index from her record. The source is left as it is. Returns her row; she is not made
// current. Throws Error with a Chinese sentence; nothing is left half made.
ClientEntry importClient(data::Connection& c, const QString& source);

} // namespace nc::clients
