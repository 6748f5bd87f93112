#pragma once
// A disk that fails on demand, for tests of what a save does when the disk is full, the folder is
// read-only or a write goes wrong. It is a layer over the engine's own file access, made the default
// for every database opened while it lives, so the program's statements meet the failure exactly where
// a real disk would give it: in the middle of writing pages or when the journal is to be made.

#include <QString>

struct sqlite3_vfs;

namespace nc::test {

class FaultyDisk {
public:
    enum class Fault {
        None,
        Full,     // writes fail as on a full disk (after `writesAllowed` good writes)
        ReadOnly, // the journal that every change needs cannot be made, as in a read-only folder
        IoError,  // writes fail with an input/output error (after `writesAllowed` good writes)
    };

    FaultyDisk();
    ~FaultyDisk(); // the engine's own file access becomes the default again
    FaultyDisk(const FaultyDisk&) = delete;
    FaultyDisk& operator=(const FaultyDisk&) = delete;

    // From now on, files whose path contains `pathPart` ("" = every file) meet the fault.
    void fail(Fault fault, int writesAllowed = 0, const QString& pathPart = {});
    void heal() { fail(Fault::None); }
    // Writes that reached the disk since the last fail()/heal().
    int writes() const;
    // Writes refused since the last fail()/heal().
    int refused() const;

private:
    sqlite3_vfs* vfs_;
};

} // namespace nc::test
