#pragma once
// Listeners with subscription ids: whoever subscribes keeps the id and unsubscribes when
// it goes away, so no listener outlives the object it captured.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace forms {

template <class... Args> class Signal {
public:
    using Listener = std::function<void(Args...)>;

    int subscribe(Listener listener) {
        listeners_.push_back(std::make_shared<Entry>(Entry{next_, std::move(listener), true}));
        return next_++;
    }
    void unsubscribe(int id) {
        std::erase_if(listeners_, [id](const std::shared_ptr<Entry>& entry) {
            if (entry->id != id) return false;
            entry->subscribed = false;
            return true;
        });
    }
    // Every notification calls the listener itself, so one that keeps state (a mutable
    // lambda) keeps it. The list is copied first: a listener may subscribe or unsubscribe
    // meanwhile, and one unsubscribed meanwhile is not called any more.
    void notify(Args... args) const {
        const auto listeners = listeners_;
        for (const auto& entry : listeners) {
            if (entry->subscribed) entry->listener(args...);
        }
    }
    bool empty() const { return listeners_.empty(); }

private:
    struct Entry {
        int id;
        Listener listener;
        bool subscribed;
    };
    std::vector<std::shared_ptr<Entry>> listeners_;
    int next_ = 1;
};

} // namespace forms
