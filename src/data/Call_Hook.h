// Calling a hook: a lower layer acts on a higher one only through a std::function the
// higher layer binds at start-up. An unbound hook does nothing; asked for a value, it
// answers the value type's default (false, 0, an empty text) or the default given.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

template <class R, class... P, class... A>
R Call_Hook(const std::function<R(P...)>& hook, A&&... args)
{
    if (hook)
        return hook(std::forward<A>(args)...);
    if constexpr (!std::is_void_v<R>)
        return R{};
}

template <class R, class... P, class D, class... A>
R Ask_Hook(const std::function<R(P...)>& hook, D&& unbound_answer, A&&... args)
{
    if (hook)
        return hook(std::forward<A>(args)...);
    return std::forward<D>(unbound_answer);
}
