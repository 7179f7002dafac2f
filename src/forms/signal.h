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
        listeners_.push_back(std::make_shared<Entry>(next_, std::move(listener)));
        return next_++;
    }
    void unsubscribe(int id) {
        std::erase_if(listeners_, [id](const auto& entry) {
            if (entry->id != id) return false;
            entry->subscribed = false;
            return true;
        });
    }
    // The listeners are called through a snapshot of shared entries: a listener may
    // subscribe or unsubscribe (itself or others) meanwhile, one unsubscribed meanwhile
    // is not called, and each call reaches the listener itself, so a listener that keeps
    // state of its own (a panel built once) keeps it from one notification to the next.
    void notify(Args... args) const {
        const auto snapshot = listeners_;
        for (const auto& entry : snapshot) {
            if (entry->subscribed) entry->listener(args...);
        }
    }
    bool empty() const { return listeners_.empty(); }

private:
    struct Entry {
        Entry(int entryId, Listener entryListener)
            : id(entryId), listener(std::move(entryListener)) {}
        int id;
        Listener listener;
        bool subscribed = true;
    };
    std::vector<std::shared_ptr<Entry>> listeners_;
    int next_ = 1;
};

} // namespace forms
