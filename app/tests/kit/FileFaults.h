#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// Faults of the files a test's station keeps, made for real.

// Makes a file or folder that this process cannot write (also as root, by
// the immutable flag); false when the file system refuses that. Undone by
// makeWritable.
bool makeUnwritable(const QString& path);
void makeWritable(const QString& path);

// Overwrites `count` bytes of `file` from `offset` with bytes that are no
// valid database page; false when the file is shorter.
bool writeGarbage(const QString& file, qint64 offset, int count);

// SHA-256 of a file's bytes (empty when it cannot be read).
QByteArray fileChecksum(const QString& path);

// Another program holding a database file locked: a child process that runs
// BEGIN EXCLUSIVE on it and keeps the lock for `holdMs` (or until this
// object ends).
class LockedDatabase {
  public:
    LockedDatabase(const QString& lockerProgram, const QString& file, int holdMs = 60000);
    ~LockedDatabase();
    LockedDatabase(const LockedDatabase&) = delete;
    LockedDatabase& operator=(const LockedDatabase&) = delete;

    // True once the child holds the lock.
    bool isLocked() const { return m_locked; }
    // Waits for the child to release the lock and end.
    bool waitForRelease(int ms);

  private:
    QProcess m_process;
    bool m_locked = false;
};
