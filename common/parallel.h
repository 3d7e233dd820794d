// Runs independent work items on several threads and keeps their results in
// order, for batch ratings and searches over many coils.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
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
