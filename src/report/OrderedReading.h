#pragma once
// Reading many files on several threads, handing each reading over in the
// order the files were given: as soon as it and every one before it are done,
// so that output starts early and is the same whatever the number of threads.
// Threads read at most a few files ahead of the one awaited, so nothing holds
// the readings of a whole tree.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

template <typename Reading>
class OrderedReading {
public:
    using Read = std::function<Reading(std::size_t)>;
    using Deliver = std::function<void(std::size_t, Reading&)>;

    // Calls read(i) for i in [0, count) on up to `threads` threads, and
    // deliver(i, reading) on the calling thread in order of i. An exception
    // from either ends the run and passes to the caller, the threads joined.
    static void Run(std::size_t count, unsigned threads, const Read& read, const Deliver& deliver)
    {
        OrderedReading run(count, std::max(1u, threads), read);
        for (std::size_t i = 0; i < count; ++i) {
            std::optional<Reading> reading = run.Await(i);
            deliver(i, *reading);
        }
    }

private:
    struct Slot {
        std::optional<Reading> Done;
        std::exception_ptr Failure;
    };

    OrderedReading(std::size_t count, unsigned threads, const Read& read)
        : read_(read), slots_(count), ahead_(2 * static_cast<std::size_t>(threads))
    {
        for (unsigned t = 0; t < threads && t < count; ++t)
            workers_.emplace_back([this] { Work(); });
    }

    ~OrderedReading()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
    }

    void Work()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || next_ == slots_.size() || next_ < awaited_ + ahead_; });
            if (stopping_ || next_ == slots_.size())
                return;
            const std::size_t i = next_++;
            lock.unlock();
            Slot slot;
            try {
                slot.Done = read_(i);
            } catch (...) {
                slot.Failure = std::current_exception();
            }
            lock.lock();
            slots_[i] = std::move(slot);
            changed_.notify_all();
        }
    }

    std::optional<Reading> Await(std::size_t i)
    {
        std::unique_lock lock(mutex_);
        awaited_ = i;
        changed_.notify_all();
        changed_.wait(lock, [&] { return slots_[i].Done || slots_[i].Failure; });
        if (slots_[i].Failure)
            std::rethrow_exception(slots_[i].Failure);
        return std::exchange(slots_[i].Done, std::nullopt);
    }

    const Read& read_;
    std::vector<Slot> slots_;
    const std::size_t ahead_;  // how many files past the awaited one may be read
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0;     // the next file to read
    std::size_t awaited_ = 0;  // the file the caller waits for
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};
