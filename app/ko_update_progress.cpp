#include "ko_update_progress.h"

#include <QPushButton>

#include <algorithm>

KoUpdateProgress::KoUpdateProgress(QWidget* parent, qint64 size, Pending pending_bytes)
    : QProgressDialog(parent), pending(std::move(pending_bytes)),
      // The frame the link writes is at least as long as the update itself.
      total(std::max<qint64>(1, std::max(size, pending ? pending() : 0)))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Update"));
    setWindowModality(Qt::NonModal);
    setMinimumDuration(0);
    setAutoClose(false);
    setAutoReset(false);
    setCancelButtonText(tr("Hide"));
    setLabelText(tr("Sending the update to the device (%1 bytes)...").arg(size));
    setRange(0, 100);
    setValue(0);
    // Hiding does not stop anything that has gone out already.
    connect(this, &QProgressDialog::canceled, this, &QWidget::close);
    connect(&timer, &QTimer::timeout, this, &KoUpdateProgress::poll);
    timer.start(100);
    poll();
}

void KoUpdateProgress::poll()
{
    const qint64 left = pending ? std::clamp<qint64>(pending(), 0, total) : 0;
    if (left > 0) {
        setValue(int((total - left) * 100 / total));
        return;
    }
    timer.stop();
    // Written whole; how long the device takes to install it is its own.
    setLabelText(tr("Sent. Waiting for the device to install the update..."));
    setRange(0, 0);
}

void KoUpdateProgress::Finish()
{
    timer.stop();
    close();
}

void KoUpdateProgress::sDisconnected()
{
    timer.stop();
    // The bar keeps how far it got; a full one when all was written.
    if (maximum() == 0) {
        setRange(0, 100);
        setValue(100);
    }
    setLabelText(tr("The connection to the device was lost before it answered the update."));
    setCancelButtonText(tr("Close"));
}
