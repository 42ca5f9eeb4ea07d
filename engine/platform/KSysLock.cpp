// KSysLock over the host's re-entrant lock.
#include "KSysLock.h"

#include "HostThread.h"

KSysLock::KSysLock() : lock(std::make_unique<host::RecursiveLock>()) {}

KSysLock::~KSysLock() = default;

void KSysLock::acquire() {
    lock->acquire();
}

void KSysLock::release() {
    lock->release();
}
