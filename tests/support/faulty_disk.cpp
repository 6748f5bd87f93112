#include "faulty_disk.h"

#include <sqlite3.h>

#include <QByteArray>
#include <cstring>

namespace nc::test {

namespace {

struct State {
    sqlite3_vfs* real = nullptr;
    FaultyDisk::Fault fault = FaultyDisk::Fault::None;
    int writesAllowed = 0;
    QByteArray pathPart;
    int writes = 0;
    int refused = 0;
};

State g_state;

struct FaultyFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool watched; // its path contains the part the fault is limited to
};

sqlite3_file* realOf(sqlite3_file* f) {
    return reinterpret_cast<FaultyFile*>(f)->real;
}

int faultyWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    auto* file = reinterpret_cast<FaultyFile*>(f);
    const FaultyDisk::Fault fault = g_state.fault;
    if (file->watched && (fault == FaultyDisk::Fault::Full || fault == FaultyDisk::Fault::IoError)) {
        if (g_state.writesAllowed <= 0) {
            ++g_state.refused;
            return fault == FaultyDisk::Fault::Full ? SQLITE_FULL : SQLITE_IOERR_WRITE;
        }
        --g_state.writesAllowed;
    }
    ++g_state.writes;
    return file->real->pMethods->xWrite(file->real, data, amount, offset);
}

int faultyClose(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    const int rc = real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
    f->pMethods = nullptr;
    return rc;
}
int faultyRead(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
    return realOf(f)->pMethods->xRead(realOf(f), data, amount, offset);
}
int faultyTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int faultySync(sqlite3_file* f, int flags) {
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int faultyFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int faultyLock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int faultyUnlock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int faultyCheckReservedLock(sqlite3_file* f, int* out) {
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int faultyFileControl(sqlite3_file* f, int op, void* arg) {
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int faultySectorSize(sqlite3_file* f) {
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int faultyDeviceCharacteristics(sqlite3_file* f) {
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}

// Version 1 methods only: the program's files use rollback journals, without shared memory or
// memory-mapped reads.
const sqlite3_io_methods kMethods = {
    1,
    faultyClose,
    faultyRead,
    faultyWrite,
    faultyTruncate,
    faultySync,
    faultyFileSize,
    faultyLock,
    faultyUnlock,
    faultyCheckReservedLock,
    faultyFileControl,
    faultySectorSize,
    faultyDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int faultyOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<FaultyFile*>(f);
    file->base.pMethods = nullptr;
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->watched = g_state.pathPart.isEmpty() || (name && std::strstr(name, g_state.pathPart.constData()));
    // A read-only folder: the database files open (for reading), but no journal can be made beside them.
    if (file->watched && g_state.fault == FaultyDisk::Fault::ReadOnly && (flags & SQLITE_OPEN_MAIN_JOURNAL)) {
        ++g_state.refused;
        return SQLITE_CANTOPEN;
    }
    const int rc = g_state.real->xOpen(g_state.real, name, file->real, flags, outFlags);
    if (rc == SQLITE_OK)
        file->base.pMethods = &kMethods;
    return rc;
}

} // namespace

FaultyDisk::FaultyDisk() : vfs_(new sqlite3_vfs) {
    g_state = State();
    g_state.real = sqlite3_vfs_find(nullptr);
    std::memcpy(vfs_, g_state.real, sizeof(sqlite3_vfs));
    vfs_->iVersion = 1; // nothing past the first version's calls: they would bypass the layer
    vfs_->zName = "nc-faulty-disk";
    vfs_->szOsFile = int(sizeof(FaultyFile)) + g_state.real->szOsFile;
    vfs_->xOpen = faultyOpen;
    vfs_->pNext = nullptr;
    sqlite3_vfs_register(vfs_, 1);
}

FaultyDisk::~FaultyDisk() {
    sqlite3_vfs_unregister(vfs_);
    sqlite3_vfs_register(g_state.real, 1);
    delete vfs_;
    g_state = State();
}

void FaultyDisk::fail(Fault fault, int writesAllowed, const QString& pathPart) {
    g_state.fault = fault;
    g_state.writesAllowed = writesAllowed;
    g_state.pathPart = pathPart.toUtf8();
    g_state.writes = 0;
    g_state.refused = 0;
}

int FaultyDisk::writes() const {
    return g_state.writes;
}

int FaultyDisk::refused() const {
    return g_state.refused;
}

} // namespace nc::test
