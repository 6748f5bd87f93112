#pragma once
// Whether a database file of the program (the shared file or a client's file) can be used, and when
// not, what is wrong with it: missing, empty, cut short, a plain unencrypted SQLite file, a file that
// does not open with the password, or damaged pages. Each case has a Chinese sentence naming the file
// and saying what to do. Checked before a file is used, so a damaged file is noticed when it is
// opened and not at some later save.

#include "errors.h"

#include <QString>
#include <QStringList>

namespace nc::data {

class Connection;

enum class FileState {
    Good,
    Missing,
    Empty,         // 0 bytes: the engine would take it for a new, empty database
    Truncated,     // shorter than its pages
    Plain,         // a plain SQLite file ("SQLite format 3"), not encrypted
    WrongPassword, // does not open with any of the passwords: another password, or not a database
    Damaged,       // the integrity check finds faults, or reading its pages fails
};

struct FileCheck {
    FileState state = FileState::Good;
    QString message;  // the Chinese sentence for the counsellor ("" when good)
    QString password; // the password the file opened with (for a file that opened)
    bool good() const { return state == FileState::Good; }
};

// Which of the program's files it is, for the sentence: "数据文件“…”" or "客户档案文件“…”".
enum class FileKind { Data, Client };

// How thoroughly the pages are read: the quick check when a file is opened, the full integrity check
// (indexes against their tables too) before a copy is put in place of a file.
enum class CheckDepth { Quick, Full };

// What the file's size and first bytes already say, without opening it: Missing, Empty, Truncated
// (not a whole number of pages of any size), Plain, or Good when nothing is wrong so far.
FileCheck checkFileHead(const QString& path, FileKind kind = FileKind::Data);

// The whole check on a connection of its own: the head, then each password in turn until one opens
// the file, then the page count against the size and the quick or full integrity check. Never
// throws: every failure is a state with its sentence.
FileCheck checkDatabaseFile(const QString& path, const QStringList& passwords,
                            CheckDepth depth = CheckDepth::Quick, FileKind kind = FileKind::Data);

// The same check of a file the connection has open as database `schema` ("main" or "client"), read
// through it, so the key is not derived a second time. `path` names the file in the sentence.
FileCheck checkOpenDatabase(Connection& c, const QString& schema, const QString& path,
                            CheckDepth depth = CheckDepth::Quick, FileKind kind = FileKind::Data);

// The sentence for a state of the file at `path`; `detail` (the engine's finding) is added to Damaged.
QString fileProblemText(FileState state, const QString& path, const QString& detail = {},
                        FileKind kind = FileKind::Data);

// A file that cannot be used, thrown where a file is opened; the text is fileProblemText's.
class FileProblem : public Error {
public:
    FileProblem(FileState state, const QString& path, const QString& text)
        : Error(text), state_(state), path_(path) {}
    FileState state() const { return state_; }
    const QString& path() const { return path_; }

private:
    FileState state_;
    QString path_;
};

} // namespace nc::data
