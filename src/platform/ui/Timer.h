#pragma once
// Timer on the event loop. It ticks every Interval ms while Enabled and Interval > 0.
// Switching it on, or changing the interval while it runs, starts a full interval anew;
// setting the same value again changes nothing. A tick never re-enters a handler that is
// still running (a modal dialog inside it); exceptions are reported and the timer goes on.
#include "platform/ui/Component.h"
#include <memory>

class QTimer;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* Owner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void Enabled(bool Value);
    int Interval() const { return FInterval; }
    void Interval(int Value);

    TNotify_Event OnTimer;

    // Test hook: fire one tick now as the loop would (only while the timer runs); returns
    // whether the handler ran.
    bool Fire_Tick();
    bool Running() const;                  // the underlying timer is counting
    int Remaining_Ms() const;              // until the next tick; -1 when not running

private:
    void Restart();
    void Tick();
    std::unique_ptr<QTimer> FTimer;
    bool FEnabled = true;
    int FInterval = 1000;
    bool FIn_Handler = false;
};
