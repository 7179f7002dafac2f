#pragma once
// Listeners with subscription ids: whoever subscribes keeps the id and unsubscribes when
// it goes away, so no listener outlives the object it captured.

#include <functional>
#include <utility>
#include <vector>

namespace forms {

template <class... Args> class Signal {
public:
    using Listener = std::function<void(Args...)>;

    int subscribe(Listener listener) {
        listeners_.emplace_back(next_, std::move(listener));
        return next_++;
    }
    void unsubscribe(int id) {
        std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
    }
    // A copy is called, so a listener may unsubscribe (itself or others) meanwhile.
    void notify(Args... args) const {
        const auto listeners = listeners_;
        for (const auto& entry : listeners)
            entry.second(args...);
    }
    bool empty() const { return listeners_.empty(); }

private:
    std::vector<std::pair<int, Listener>> listeners_;
    int next_ = 1;
};

} // namespace forms
