#pragma once

// Runs the event loop until pred holds; unlike QTRY_*, wakes for every event
// instead of sleeping in steps, so a stream of the reader's blocking
// emissions flows as fast as it comes.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

template <typename Pred>
bool WaitFor(Pred pred, int timeout_ms = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeout_ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}
