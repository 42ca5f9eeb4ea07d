// KSysThread over the host thread stand-in.
#include "KSysThread.h"

#include "HostThread.h"

KSysThread::KSysThread(KSysThreadFunction function, void* argument, bool highPriority)
    : function(function), argument(argument) {
    thread = std::make_unique<host::Thread>(
        [this] {
            this->function(this->argument, 0);
            finished.store(true);
        },
        highPriority);
}

KSysThread::~KSysThread() {
    thread.reset();
}
