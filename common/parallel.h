// Runs independent work items on several threads and keeps their results in
// order, for batch ratings and searches over many coils.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

// The number of threads `jobs` asks for: 0 means one per core (at least one).
inline unsigned ThreadCount(unsigned jobs) {
    if (jobs != 0) return jobs;
    return std::max(1u, std::thread::hardware_concurrency());
}

// Calls fn(i) for every i in [0, n) and returns the results in index order.
// With `jobs` 1 (or a single item) everything runs on the calling thread;
// otherwise on min(ThreadCount(jobs), n) new threads, which take the items
// in increasing order. fn must be safe to call from several threads at once;
// thread-local settings of the caller (such as its message sink) are not
// seen by the new threads.
//
// If fn throws, no further items are started, the running ones finish, and
// the exception of the lowest failing index is rethrown here: the same one
// a serial loop would have thrown.
template <typename Fn>
auto ParallelMap(std::size_t n, unsigned jobs, Fn&& fn)
    -> std::vector<std::invoke_result_t<Fn&, std::size_t>> {
    using Result = std::invoke_result_t<Fn&, std::size_t>;
    std::vector<Result> results;
    // No reserve for an empty batch: GCC 12 warns on the inlined empty
    // reserve under ThreadSanitizer (a null-argument false positive).
    if (n > 0) results.reserve(n);
    const std::size_t threads = std::min<std::size_t>(ThreadCount(jobs), n);
    if (threads <= 1) {
        for (std::size_t i = 0; i < n; ++i) results.push_back(fn(i));
        return results;
    }

    std::vector<std::optional<Result>> answers(n);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex errorLock;
    std::size_t errorIndex = n;
    std::exception_ptr error;

    auto work = [&] {
        while (!failed.load(std::memory_order_relaxed)) {
            const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= n) return;
            try {
                answers[i].emplace(fn(i));
            } catch (...) {
                const std::lock_guard<std::mutex> hold(errorLock);
                if (i < errorIndex) {
                    errorIndex = i;
                    error = std::current_exception();
                }
                failed.store(true, std::memory_order_relaxed);
            }
        }
    };
    {
        std::vector<std::jthread> pool;
        pool.reserve(threads);
        for (std::size_t t = 0; t < threads; ++t) pool.emplace_back(work);
    }  // joins every thread
    if (error) std::rethrow_exception(error);
    for (std::optional<Result>& answer : answers) results.push_back(std::move(*answer));
    return results;
}

// Runs fn over a stream of items of unknown length on `jobs` threads (0: one
// per core) and hands each result to `emit` in the order the items were
// put, as soon as it and every earlier one are done. At most `window` items
// are in flight; Put waits for room, so memory stays flat however long the
// stream. With one thread, Put runs fn and emit at once on the caller's
// thread.
//
// emit is called by one thread at a time (a worker's or the caller's), never
// concurrently; fn must be safe to call from several threads at once. If fn
// or emit throws, the results after that item are dropped, and Put or Finish
// rethrows the first such exception.
template <typename Item, typename Result>
class OrderedStream {
public:
    using Fn = std::function<Result(Item&)>;
    using Emit = std::function<void(Result&)>;

    OrderedStream(unsigned jobs, Fn fn, Emit emit, std::size_t perThread = 4)
        : fn_(std::move(fn)), emit_(std::move(emit)), threads_(ThreadCount(jobs)) {
        window_ = threads_ * std::max<std::size_t>(1, perThread);
        if (threads_ <= 1) return;
        pool_.reserve(threads_);
        for (std::size_t t = 0; t < threads_; ++t) pool_.emplace_back([this] { Work(); });
    }
    OrderedStream(const OrderedStream&) = delete;
    OrderedStream& operator=(const OrderedStream&) = delete;
    ~OrderedStream() {
        failed_ = true;  // not finished: what is still queued is dropped
        Stop();
    }

    void Put(Item item) {
        if (threads_ <= 1) {
            Result r = fn_(item);
            emit_(r);
            return;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        room_.wait(lock, [&] { return failed_ || slots_.size() < window_; });
        if (error_) std::rethrow_exception(error_);
        slots_.emplace_back();
        slots_.back().item.emplace(std::move(item));
        work_.notify_one();
    }

    // Waits for every item put so far to be emitted, then ends the threads.
    void Finish() {
        if (threads_ > 1) {
            std::unique_lock<std::mutex> lock(mutex_);
            room_.wait(lock, [&] { return failed_ || slots_.empty(); });
        }
        Stop();
        if (error_) std::rethrow_exception(error_);
    }

private:
    struct Slot {
        std::optional<Item> item;
        std::optional<Result> result;
        std::exception_ptr error;
        bool taken = false;
        bool done = false;
    };

    void Stop() {
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            stopping_ = true;
        }
        work_.notify_all();
        pool_.clear();  // joins
    }

    void Work() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            work_.wait(lock, [&] { return stopping_ || next_ - base_ < slots_.size(); });
            if (next_ - base_ >= slots_.size()) return;  // stopping with nothing left
            Slot& slot = slots_[next_ - base_];
            ++next_;
            lock.unlock();
            try {
                if (!failed_.load(std::memory_order_relaxed)) slot.result.emplace(fn_(*slot.item));
            } catch (...) {
                slot.error = std::current_exception();
            }
            slot.item.reset();
            lock.lock();
            slot.done = true;
            EmitReady(lock);
        }
    }

    // Emits the finished items at the front, one thread at a time.
    void EmitReady(std::unique_lock<std::mutex>& lock) {
        if (emitting_) return;
        emitting_ = true;
        while (!slots_.empty() && slots_.front().done) {
            Slot slot = std::move(slots_.front());
            slots_.pop_front();
            ++base_;
            if (failed_) continue;
            lock.unlock();
            std::exception_ptr error = slot.error;
            if (!error) {
                try {
                    emit_(*slot.result);
                } catch (...) {
                    error = std::current_exception();
                }
            }
            lock.lock();
            if (error) {
                error_ = error;
                failed_ = true;
            }
        }
        emitting_ = false;
        room_.notify_all();
    }

    Fn fn_;
    Emit emit_;
    std::size_t threads_;
    std::size_t window_ = 1;
    std::mutex mutex_;
    std::condition_variable work_, room_;
    std::deque<Slot> slots_;
    std::size_t base_ = 0;  // index of slots_.front() in the stream
    std::size_t next_ = 0;  // index of the next item to start
    bool emitting_ = false;
    bool stopping_ = false;
    std::atomic<bool> failed_{false};
    std::exception_ptr error_;
    std::vector<std::jthread> pool_;
};
