// Stand-in for the operating system's threads and critical sections: a joinable thread that can be
// asked to run at a raised priority, and a re-entrant lock. The engine's KSysThread and KSysLock sit on these.
#pragma once

#include <functional>
#include <mutex>
#include <thread>

namespace host {

class Thread {
public:
    // Starts body at once. With highPriority the thread asks the scheduler for a better nice value;
    // a refusal (no privilege) is ignored and the thread runs at normal priority.
    Thread(std::function<void()> body, bool highPriority);
    ~Thread(); // waits without limit for the body to return
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

private:
    std::thread thread;
};

// A lock the owning thread may take again while it holds it; each acquire needs its release.
class RecursiveLock {
public:
    void acquire() { mutex.lock(); }
    void release() { mutex.unlock(); }

private:
    std::recursive_mutex mutex;
};

} // namespace host
