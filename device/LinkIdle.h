#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// The link's idle flag: true while no transfer holds the link. Handing the
// link back (assigning true) wakes a command that waits for it at once,
// instead of leaving it to find the link free at its next poll.
class LinkIdle
{
public:
    // A hand-back still waking the waiters (the last step of a transfer on
    // a pool worker) is over before the link is destroyed: both take the lock.
    ~LinkIdle() { std::lock_guard<std::mutex> lock(mutex); }

    LinkIdle& operator=(bool value)
    {
        std::lock_guard<std::mutex> lock(mutex);
        flag.store(value);
        if (value) {
            ++handOvers;
            wake.notify_all();
        }
        return *this;
    }
    bool load() const { return flag.load(); }
    operator bool() const { return flag.load(); }

    // Takes the link when it is free.
    bool tryTake()
    {
        bool expected = true;
        return flag.compare_exchange_strong(expected, false);
    }

    // Waits at most `step` for the link to be handed back; true when it was
    // handed back meanwhile (or is free already), false when the step ran out.
    bool waitHandOver(std::chrono::milliseconds step)
    {
        std::unique_lock<std::mutex> lock(mutex);
        const unsigned seen = handOvers;
        ++waiters;
        const bool handedBack = wake.wait_for(lock, step, [&] { return flag.load() || handOvers != seen; });
        --waiters;
        return handedBack;
    }

    // True while a caller waits in waitHandOver.
    bool waiting()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return waiters > 0;
    }

private:
    std::atomic<bool> flag{true};
    std::mutex mutex;
    std::condition_variable wake;
    unsigned handOvers = 0;
    int waiters = 0;
};
