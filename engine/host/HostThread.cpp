// Threads over std::thread, with the priority request made through the thread's own nice value.
#include "HostThread.h"

#include <sys/resource.h>
#include <unistd.h>

namespace host {

namespace {
// Linux keeps a nice value per thread; a negative one needs a privilege most users lack.
constexpr int kRaisedNice = -5;
} // namespace

Thread::Thread(std::function<void()> body, bool highPriority)
    : thread([body = std::move(body), highPriority] {
          if (highPriority) setpriority(PRIO_PROCESS, gettid(), kRaisedNice);
          body();
      }) {}

Thread::~Thread() {
    if (thread.joinable()) thread.join();
}

} // namespace host
