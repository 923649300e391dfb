#pragma once

#include <QProgressDialog>
#include <QTimer>

#include <functional>

// How a software update goes once the link has taken it: the bytes on their
// way to the device, then the wait for the device's answer, which ends it
// (the answer's own box follows, see CommandResults). It does not block the
// window; the operator may hide it.
class KoUpdateProgress : public QProgressDialog
{
    Q_OBJECT

public:
    // Bytes of the update the link still has to write; polled.
    using Pending = std::function<qint64()>;

    KoUpdateProgress(QWidget* parent, qint64 size, Pending pending);

    // The device answered: the progress goes.
    void Finish();

public slots:
    // The link lost the device before it answered.
    void sDisconnected();

private:
    void poll();

    Pending pending;
    qint64 total;
    QTimer timer;
};
