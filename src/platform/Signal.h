// Change notification with any number of listeners. A model owns a TSignal; each view joins it
// with Connect and keeps the TConnection it answers: the listener leaves when that connection is
// destroyed or Disconnect is called, so a view that goes away never hears from the model again.
// A listener may join or leave (itself or others) while the signal is being emitted: one that
// left is not called any more, one that joined is called from the next emission on.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quillon {

class TConnection {
public:
    TConnection() = default;
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;
    TConnection(TConnection&& other) noexcept : mLeave(std::move(other.mLeave)) { other.mLeave = nullptr; }
    TConnection& operator=(TConnection&& other) noexcept {
        if (this != &other) {
            Disconnect();
            mLeave = std::move(other.mLeave);
            other.mLeave = nullptr;
        }
        return *this;
    }
    ~TConnection() { Disconnect(); }

    void Disconnect() {
        if (mLeave) {
            auto leave = std::move(mLeave);
            mLeave = nullptr;
            leave();
        }
    }
    bool Connected() const { return static_cast<bool>(mLeave); }

private:
    template <typename...>
    friend class TSignal;
    explicit TConnection(std::function<void()> leave) : mLeave(std::move(leave)) {}
    std::function<void()> mLeave;
};

template <typename... Args>
class TSignal {
public:
    using TListener = std::function<void(Args...)>;

    TSignal() : mState(std::make_shared<TState>()) {}
    TSignal(const TSignal&) = delete;
    TSignal& operator=(const TSignal&) = delete;
    // The listeners' connections outlive the signal safely: leaving a destroyed signal does nothing.
    ~TSignal() = default;

    [[nodiscard]] TConnection Connect(TListener listener) {
        const std::size_t id = ++mState->NextId;
        mState->Slots.push_back({id, std::make_shared<TListener>(std::move(listener))});
        std::weak_ptr<TState> weak = mState;
        return TConnection([weak, id] {
            if (const auto state = weak.lock())
                std::erase_if(state->Slots, [id](const TSlot& slot) { return slot.Id == id; });
        });
    }

    // Calls every listener in the order they joined.
    void Emit(Args... args) const {
        // A copy: listeners may join or leave while they are called (no name "slots": Qt takes it).
        const std::vector<TSlot> current = mState->Slots;
        for (const TSlot& slot : current) {
            if (!Joined(slot.Id))
                continue;
            (*slot.Listener)(args...);
        }
    }
    void operator()(Args... args) const { Emit(args...); }

    std::size_t ListenerCount() const { return mState->Slots.size(); }

private:
    struct TSlot {
        std::size_t Id;
        std::shared_ptr<TListener> Listener;
    };
    struct TState {
        std::vector<TSlot> Slots;
        std::size_t NextId = 0;
    };
    bool Joined(std::size_t id) const {
        for (const TSlot& slot : mState->Slots)
            if (slot.Id == id)
                return true;
        return false;
    }
    std::shared_ptr<TState> mState;
};

}  // namespace quillon
