#include "protocol/Protocol_Hooks.h"

Link_Timer Link_Timer_Sending;
Link_Timer Link_Timer_Connect;
Link_Timer Link_Timer_Wait;
Protocol_Hooks_Class Protocol_Hooks;

void Link_Timer::Enabled(bool on)
{
    if (on)
        ++Switched_On;
    if (set_enabled_)
        set_enabled_(on);
    else
        enabled_ = on;
}

bool Link_Timer::Enabled() const
{
    return get_enabled_ ? get_enabled_() : enabled_;
}

void Link_Timer::Interval(uint32_t ms)
{
    if (set_interval_)
        set_interval_(ms);
    else
        interval_ = ms;
}

uint32_t Link_Timer::Interval() const
{
    return get_interval_ ? get_interval_() : interval_;
}

void Link_Timer::Bind(std::function<void(bool)> set_enabled, std::function<bool()> get_enabled,
                      std::function<void(uint32_t)> set_interval,
                      std::function<uint32_t()> get_interval)
{
    set_enabled_ = std::move(set_enabled);
    get_enabled_ = std::move(get_enabled);
    set_interval_ = std::move(set_interval);
    get_interval_ = std::move(get_interval);
}

void Link_Timer::Unbind()
{
    set_enabled_ = nullptr;
    get_enabled_ = nullptr;
    set_interval_ = nullptr;
    get_interval_ = nullptr;
    enabled_ = false;
    interval_ = 0;
    Switched_On = 0;
}

void Protocol_Hooks_Reset()
{
    Link_Timer_Sending.Unbind();
    Link_Timer_Connect.Unbind();
    Link_Timer_Wait.Unbind();
    Protocol_Hooks = Protocol_Hooks_Class{};
}
