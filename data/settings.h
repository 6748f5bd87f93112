#pragma once
// The program's settings kept in the database file: a small table of keys and texts, so a choice made
// once (the evaluation standard) holds for every later start and travels with the counsellor's file.

#include <QString>

namespace nc::data {

class Connection;

// The text stored under `key`, or `fallback` when there is no such row or the file has no settings
// table yet (a file an update has not reached). Throws DbError only when the file cannot be read.
QString readSetting(const QString& key, const QString& fallback = {});
QString readSetting(Connection& c, const QString& key, const QString& fallback = {});

// Stores `value` under `key`, replacing what was there. A file without the settings table (its update
// failed) is refused with a Chinese sentence saying so; nothing is written then.
void writeSetting(const QString& key, const QString& value);
void writeSetting(Connection& c, const QString& key, const QString& value);

// Update step 4: adds the settings table to a file that has none. No row is written, so every setting
// reads its default, which keeps stored evaluations meaning what they meant.
void addSettingsTable(Connection& c);

} // namespace nc::data
