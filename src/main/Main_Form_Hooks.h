// The hooks a part of the main window binds, kept so that the part releases exactly what
// it bound when the window goes. A hook is bound with its name, its release and a probe
// that tells whether the part's binding is still in place.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

class Hook_Bindings {
public:
    struct Binding {
        std::string Name;
        std::function<void()> Release;
        std::function<bool()> Bound;
    };

    // A std::function hook: set now, emptied on release.
    template <class Signature, class Handler>
    void Bind(const std::string& Name, std::function<Signature>& Hook, Handler&& Value)
    {
        Hook = std::forward<Handler>(Value);
        FBindings.push_back({Name, [&Hook] { Hook = nullptr; }, [&Hook] { return static_cast<bool>(Hook); }});
    }
    // Any other kind of hook: bound by the caller, released and probed by the given calls.
    void Add(const std::string& Name, std::function<void()> Release, std::function<bool()> Bound)
    {
        FBindings.push_back({Name, std::move(Release), std::move(Bound)});
    }
    // Releases every hook, last bound first.
    void Release_All()
    {
        for (auto It = FBindings.rbegin(); It != FBindings.rend(); ++It)
            It->Release();
        FBindings.clear();
    }
    const std::vector<Binding>& Bindings() const { return FBindings; }

private:
    std::vector<Binding> FBindings;
};
