#include "platform/comm/Device_Watcher.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include "platform/comm/Serial_Device.h"

namespace comm {

namespace {
// Sets of events taken in one wake-up at most, so that a flood cannot hold the loop.
constexpr int Looks_Per_Wake = 4;
}  // namespace

bool On_Event_Loop_Thread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// Shared with the loop's callbacks, so that a handler that destroys the watcher (the port
// closed from inside it) leaves them nothing to touch but this state.
struct Device_Watcher::State {
  Serial_Device* Device = nullptr;
  std::function<void(uint32_t)> On_Events;
  std::function<void()> On_Failed;
  QSocketNotifier* Notifier = nullptr;
  QTimer* Look_Again = nullptr;
  bool Alive = true;

  // Takes what the device has to report now, hands it on, and keeps the next look on time.
  static void Check(const std::shared_ptr<State>& self) {
    // Looks again after each set of events: bytes that came while the handler read are
    // taken now, and what woke nobody is drained, so the loop is not woken for it later.
    for (int look = 0; look < Looks_Per_Wake && self->Alive; ++look) {
      uint32_t events = 0;
      const Wait_Result result = self->Device->Wait_Event_For(-1, 0, &events);
      if (result == Wait_Result::Failed) {
        self->Stop();
        if (self->On_Failed) self->On_Failed();
        return;
      }
      if (result != Wait_Result::Event) break;
      if (self->On_Events) self->On_Events(events);
    }
    if (!self->Alive) return;   // a handler closed the port
    const int interval = self->Device->Watch_Interval_Ms();
    if (interval < 0) {
      self->Look_Again->stop();
    } else if (!self->Look_Again->isActive() || self->Look_Again->interval() != interval) {
      self->Look_Again->start(interval);
    }
  }

  void Stop() {
    Alive = false;
    if (Notifier) {
      Notifier->setEnabled(false);
      Notifier->deleteLater();   // its signal may be running right now
      Notifier = nullptr;
    }
    if (Look_Again) {
      Look_Again->stop();
      Look_Again->deleteLater();
      Look_Again = nullptr;
    }
  }
};

Device_Watcher::Device_Watcher(Serial_Device& device, std::function<void(uint32_t)> on_events,
                               std::function<void()> on_failed)
    : State_(std::make_shared<State>()) {
  State_->Device = &device;
  State_->On_Events = std::move(on_events);
  State_->On_Failed = std::move(on_failed);
  State_->Notifier = new QSocketNotifier(device.Watch_Descriptor(), QSocketNotifier::Read);
  State_->Look_Again = new QTimer;
  std::weak_ptr<State> weak = State_;
  auto check = [weak] {
    if (auto self = weak.lock()) State::Check(self);
  };
  QObject::connect(State_->Notifier, &QSocketNotifier::activated, State_->Notifier, check);
  QObject::connect(State_->Look_Again, &QTimer::timeout, State_->Look_Again, check);
  // Events that came before the watch began are looked at once the loop runs.
  QTimer::singleShot(0, State_->Notifier, check);
  const int interval = device.Watch_Interval_Ms();
  if (interval >= 0) State_->Look_Again->start(interval);
}

Device_Watcher::~Device_Watcher() { State_->Stop(); }

}  // namespace comm
