// The engine's thread object: runs one function on its own thread from construction on; the
// destructor waits for the function to return. The sound streaming loop is its user.
#pragma once

#include "KObjectBase.h"

#include <atomic>
#include <memory>

namespace host {
class Thread;
}

using KSysThreadFunction = void (*)(void* argument, long secondArgument);

class KSysThread : public KObjectBase {
public:
    // Calls function(argument, 0) on a new thread; highPriority asks for the raised priority
    // a real-time job such as refilling sound streams wants (refused quietly without the privilege).
    KSysThread(KSysThreadFunction function, void* argument, bool highPriority = false);
    ~KSysThread() override; // waits without limit
    KSysThread(const KSysThread&) = delete;
    KSysThread& operator=(const KSysThread&) = delete;

    bool isFinished() const { return finished.load(); }

private:
    KSysThreadFunction function;
    void* argument;
    std::atomic<bool> finished{false};
    std::unique_ptr<host::Thread> thread;
};
