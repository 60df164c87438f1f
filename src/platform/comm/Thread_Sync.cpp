#include "platform/comm/Thread_Sync.h"


#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <sys/eventfd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace comm {

namespace {

// One hand-over, shared by the waiting worker and the queued call.
struct Handover {
  std::mutex Lock;
  bool Cancelled = false;
  bool Started = false;
  bool Finished = false;
  int Done_Fd = -1;
  bool Owns_Fd = false;  // the worker left while the call ran: the hand-over closes it
  std::function<void()> Call;
  ~Handover() {
    if (Owns_Fd && Done_Fd >= 0) ::close(Done_Fd);
  }
};

// The "call done" descriptor of a worker thread, made once and used for each of its
// hand-overs; it is empty (reads nothing) between them.
struct Thread_Done_Fd {
  int Fd = -1;
  ~Thread_Done_Fd() {
    if (Fd >= 0) ::close(Fd);
  }
  int Get() {
    if (Fd < 0) Fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return Fd;
  }
  // The descriptor goes with a hand-over that may still write it later.
  void Give_Away(Handover& H) {
    H.Owns_Fd = true;
    Fd = -1;
  }
  void Drain() {
    uint64_t count = 0;
    ssize_t r = ::read(Fd, &count, sizeof count);
    (void)r;
  }
};
thread_local Thread_Done_Fd Done_Fd_Of_Thread;

Exception_Report Report_Of_Dispatch = nullptr;

void Report(const std::string& message) {
  if (Report_Of_Dispatch) {
    Report_Of_Dispatch(message);
  } else {
    std::fprintf(stderr, "KardunGD: error in an event handler: %s\n", message.c_str());
  }
}

// The call is a dispatch point of the user-interface thread: an exception is reported
// there like any other handler's, and goes no further.
void Run_Guarded(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& e) {
    Report(e.what());
  } catch (...) {
    Report("unknown exception");
  }
}

}  // namespace

void Set_Exception_Report(Exception_Report report) { Report_Of_Dispatch = report; }

Stop_Event::Stop_Event() : Fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

Stop_Event::~Stop_Event() {
  if (Fd_ >= 0) ::close(Fd_);
}

void Stop_Event::Signal() {
  if (Fd_ < 0) return;
  uint64_t one = 1;
  ssize_t r = ::write(Fd_, &one, sizeof one);
  (void)r;
}

Sync_Result Run_On_UI_Thread(std::function<void()> call, int stop_fd) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return Sync_Result::Dropped;
  if (QThread::currentThread() == app->thread()) {
    Run_Guarded(call);
    return Sync_Result::Done;
  }
  auto h = std::make_shared<Handover>();
  h->Done_Fd = Done_Fd_Of_Thread.Get();
  if (h->Done_Fd < 0) return Sync_Result::Dropped;
  h->Call = std::move(call);

  QMetaObject::invokeMethod(
      app,
      [h]() {
        {
          std::lock_guard<std::mutex> g(h->Lock);
          if (h->Cancelled) return;
          h->Started = true;
        }
        Run_Guarded(h->Call);
        std::lock_guard<std::mutex> g(h->Lock);
        h->Finished = true;
        h->Call = nullptr;
        uint64_t one = 1;
        ssize_t r = ::write(h->Done_Fd, &one, sizeof one);
        (void)r;
      },
      Qt::QueuedConnection);

  for (;;) {
    pollfd p[2] = {{h->Done_Fd, POLLIN, 0}, {stop_fd, POLLIN, 0}};
    int r = ::poll(p, stop_fd >= 0 ? 2 : 1, -1);
    if (r < 0 && errno == EINTR) continue;
    std::lock_guard<std::mutex> g(h->Lock);
    if (h->Finished) {
      Done_Fd_Of_Thread.Drain();  // written once, before Finished was set
      return Sync_Result::Done;
    }
    if (r < 0 || (stop_fd >= 0 && p[1].revents)) {
      if (h->Started) {
        Done_Fd_Of_Thread.Give_Away(*h);
        return Sync_Result::Detached;
      }
      h->Cancelled = true;
      h->Call = nullptr;  // releases what the call holds, here on the worker
      return Sync_Result::Dropped;
    }
  }
}

}  // namespace comm
