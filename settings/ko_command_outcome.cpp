#include "ko_command_outcome.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

bool KoCommandOutcome::Report(QWidget* origin, bool sent, const QString& confirmation)
{
    if (!sent) {
        QMessageBox::warning(origin, NotSentTitle(), NotSentText(), QMessageBox::Ok);
        return false;
    }
    if (!confirmation.isEmpty())
        Confirm(origin, confirmation);
    return true;
}

void KoCommandOutcome::Confirm(QWidget* widget, const QString& text)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* window = qobject_cast<QMainWindow*>(w)) {
            window->statusBar()->showMessage(text, ConfirmationMs);
            return;
        }
    }
}

QString KoCommandOutcome::NotSentTitle()
{
    return tr("Warning");
}

QString KoCommandOutcome::NotSentText()
{
    return tr("No connection to the device: nothing was sent.");
}
