#include "sys_exchange.h"

namespace cntsys {

SysExchange::SysExchange(std::function<void(const char*)> show_) : show(std::move(show_))
{
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &timer, [this] { Finish(false); });
}

void SysExchange::Start(std::vector<Step> steps_, std::function<void(bool)> end_)
{
    Stop();
    steps = std::move(steps_);
    end = std::move(end_);
    at = 0;
    running = true;
    SendAndWait();
}

void SysExchange::Stop()
{
    timer.stop();
    running = false;
    end = nullptr;
}

bool SysExchange::Offer(uint code, const QByteArray& data)
{
    if (!running || steps[at].reply != code)
        return false;
    timer.stop();
    const Step& step = steps[at];
    if (step.take && !step.take(data)) {
        Finish(false);
        return true;
    }
    show(step.done);
    ++at;
    SendAndWait();
    return true;
}

void SysExchange::SendAndWait()
{
    if (at == steps.size())
        return Finish(true);
    const Step& step = steps[at];
    show(step.start);
    if (step.send && !step.send())
        return Finish(false);
    timer.start(step.timeoutMs);
}

void SysExchange::Finish(bool ok)
{
    // Taken out first: the end may start the next exchange.
    const std::function<void(bool)> finished = std::move(end);
    Stop();
    if (!ok)
        show(steps[at].failed);
    if (finished)
        finished(ok);
}

} // namespace cntsys
