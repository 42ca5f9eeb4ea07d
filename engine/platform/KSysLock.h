// The engine's lock: re-entrant, so code that holds it (the streaming pass) may call operations that
// take it again (stopping a stream). Each acquire needs its release.
#pragma once

#include "KObjectBase.h"

#include <memory>

namespace host {
class RecursiveLock;
}

class KSysLock : public KObjectBase {
public:
    KSysLock();
    ~KSysLock() override;
    KSysLock(const KSysLock&) = delete;
    KSysLock& operator=(const KSysLock&) = delete;

    void acquire();
    void release();

private:
    std::unique_ptr<host::RecursiveLock> lock;
};

// Holds a lock for a scope; a null lock is no lock.
class KSysLockHolder {
public:
    explicit KSysLockHolder(KSysLock* lock) : lock(lock) {
        if (lock) lock->acquire();
    }
    ~KSysLockHolder() {
        if (lock) lock->release();
    }
    KSysLockHolder(const KSysLockHolder&) = delete;
    KSysLockHolder& operator=(const KSysLockHolder&) = delete;

private:
    KSysLock* lock;
};
