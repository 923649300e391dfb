#pragma once

#include <QByteArray>
#include <QTimer>

#include <functional>
#include <vector>

namespace cntsys {

// One exchange with the system unit (a read, an apply, a clock refresh) as a
// list of steps, run on the thread it lives on. A step sends its request and
// waits for its reply code: the reply, offered by the owner, advances it; a
// single-shot timer ends the exchange when the reply does not come.
class SysExchange
{
public:
    struct Step
    {
        std::function<bool()> send; // the request; empty for a message that comes unasked
        uint reply;                 // the code that ends the step
        int timeoutMs;
        const char* start; // shown as the step starts, succeeds, fails (null: nothing)
        const char* done;
        const char* failed;
        // Checks and keeps the reply; false refuses it.
        std::function<bool(const QByteArray&)> take = nullptr;
    };

    explicit SysExchange(std::function<void(const char*)> show);

    // Replaces whatever runs; end learns whether every step went through.
    void Start(std::vector<Step> steps, std::function<void(bool)> end);
    // Ends it without a word.
    void Stop();
    bool Running() const { return running; }
    // Takes a message if the running step awaits its code.
    bool Offer(uint code, const QByteArray& data);

private:
    void SendAndWait();
    void Finish(bool ok);

    std::function<void(const char*)> show;
    std::vector<Step> steps;
    size_t at = 0;
    bool running = false;
    QTimer timer;
    std::function<void(bool)> end;
};

} // namespace cntsys
