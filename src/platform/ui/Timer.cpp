#include "platform/ui/Timer.h"
#include "platform/ui/Runtime.h"
#include <QPointer>
#include <QTimer>

TTimer::TTimer(TComponent* Owner) : TComponent(Owner), FTimer(std::make_unique<QTimer>())
{
    FTimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(FTimer.get(), &QTimer::timeout, FTimer.get(), [this] { Tick(); });
    Restart();
}

TTimer::~TTimer() = default;

void TTimer::Restart()
{
    FTimer->stop();
    if (FEnabled && FInterval > 0) FTimer->start(FInterval);
}

void TTimer::Enabled(bool Value)
{
    if (Value == FEnabled) return;
    FEnabled = Value;
    Restart();
}

void TTimer::Interval(int Value)
{
    if (Value == FInterval) return;
    FInterval = Value;
    Restart();
}

bool TTimer::Running() const { return FTimer->isActive(); }

int TTimer::Remaining_Ms() const { return FTimer->isActive() ? FTimer->remainingTime() : -1; }

void TTimer::Tick()
{
    if (FIn_Handler || !OnTimer) return;   // never re-entered from a nested loop
    FIn_Handler = true;
    QPointer<QTimer> Alive(FTimer.get());
    ui::Dispatch([this] { OnTimer(this); });
    if (Alive) FIn_Handler = false;
}

bool TTimer::Fire_Tick()
{
    if (!Running() || FIn_Handler || !OnTimer) return false;
    Tick();
    return true;
}
