#pragma once

#include <utility>

namespace quillon::platform {

// A program-wide service that the program installs at start and tests replace: the
// message presenter, the file dialogs, the maker of media playback. Holds what is
// installed, and a fallback for when nothing is (installing an empty service, a null
// pointer or an empty function, puts the fallback back).
template <typename Service>
class ServiceSlot {
public:
    using MakeFallback = Service (*)();

    explicit ServiceSlot(MakeFallback makeFallback)
        : makeFallback_(makeFallback), current_(makeFallback()) {}

    Service& current() { return current_; }

    void install(Service service) { current_ = service ? std::move(service) : makeFallback_(); }

    // Installs `service` and hands back what was installed before.
    Service exchange(Service service) {
        Service previous = std::move(current_);
        install(std::move(service));
        return previous;
    }

private:
    MakeFallback makeFallback_;
    Service current_;
};

// Replaces a service for the lifetime of a scope, then restores the one before.
template <typename Service>
class ScopedService {
public:
    ScopedService(ServiceSlot<Service>& slot, Service replacement)
        : slot_(slot), previous_(slot.exchange(std::move(replacement))) {}
    ~ScopedService() { slot_.install(std::move(previous_)); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

private:
    ServiceSlot<Service>& slot_;
    Service previous_;
};

}  // namespace quillon::platform
