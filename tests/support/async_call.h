#pragma once

// A call run on its own std::thread, for tests that drive a blocking API from
// the GUI thread: isFinished() can be polled with QTRY_VERIFY, result() joins
// the thread. Built on std::thread rather than QtConcurrent so that
// ThreadSanitizer sees the hand-over of the result (the system's Qt is not
// instrumented).
//
//     AsyncCall<bool> read([&] { return ctl.ReadParams(p, 5000, false); });
//     QTRY_VERIFY(read.isFinished());
//     QVERIFY(read.result());

#include <atomic>
#include <functional>
#include <thread>

template <typename T>
class AsyncCall
{
public:
    explicit AsyncCall(std::function<T()> fn)
        : thread([this, fn = std::move(fn)] {
              value = fn();
              done = true;
          })
    {
    }
    AsyncCall(const AsyncCall&) = delete;
    AsyncCall& operator=(const AsyncCall&) = delete;
    ~AsyncCall() { join(); }

    bool isFinished() const { return done; }
    T result()
    {
        join();
        return value;
    }

private:
    void join()
    {
        if (thread.joinable())
            thread.join();
    }

    T value{};
    std::atomic<bool> done{false};
    std::thread thread; // last, so the members above exist when it starts
};
