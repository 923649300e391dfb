#pragma once

#include "change_ip_dialog.h"
#include "ko_update_progress.h"
#include "modem_dialog.h"
#include "options_dialog.h"
#include "reboot_dialog.h"
#include "settings/ko_command_outcome.h"
#include "update_dialog.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>

// The Tools-menu dialogs and the mount options dialog, as the main window opens
// them: a fresh host with the window as parent, run modally, deleted when it
// closes. "OK" sends through the link; the link's answer is reported by
// KoCommandOutcome (a box over the dialog, which stays open, when there is no
// connection; a status-bar line when it went out), and the device's own
// answer comes later as the main window's result box. The link is a template
// parameter so that anything with the link's request operations and its
// eDisconnected signal will do.
class CommandDialogs
{
    Q_DECLARE_TR_FUNCTIONS(CommandDialogs)

public:
    template <class Link>
    static void OpenModemDialog(QWidget* window, Link* link)
    {
        auto* dialog = new ModemDialog(window);
        dialog->SetSender([dialog, link](const QStringList& settings) {
            return KoCommandOutcome::Report(
                dialog, link && link->SendModemSettings(settings),
                tr("Modem settings sent, waiting for the device's answer"));
        });
        run(dialog);
    }

    template <class Link>
    static void OpenServerChangeDialog(QWidget* window, Link* link)
    {
        auto* dialog = new ChangeIPDialog(window);
        dialog->SetSender([dialog, link](const QStringList& settings) {
            return KoCommandOutcome::Report(
                dialog, link && link->SendServerIpSettings(settings),
                tr("Server address sent, waiting for the device's answer"));
        });
        run(dialog);
    }

    template <class Link>
    static void OpenUpdateDialog(QWidget* window, Link* link)
    {
        auto* dialog = new SwUpdateDialog(window);
        dialog->SetSender([dialog, window, link](const QByteArray& sw) {
            if (!KoCommandOutcome::Report(dialog, link && link->SendSwUpdate(sw),
                                          tr("Update sent, waiting for the device's answer")))
                return false;
            // Bytes not yet taken by the network, while the link lasts.
            QPointer<Link> guard(link);
            auto* progress = new KoUpdateProgress(window, sw.size(), [guard] {
                return guard ? guard->BytesToWrite() : qint64(0);
            });
            QObject::connect(link, &Link::eDisconnected, progress,
                             &KoUpdateProgress::sDisconnected);
            progress->show();
            return true;
        });
        run(dialog);
    }

    // Returns whether the reboot was sent.
    template <class Link>
    static bool OpenRebootDialog(QWidget* window, Link* link)
    {
        auto* dialog = new RebootDialog(window);
        bool sent = false;
        dialog->SetSender([dialog, link, &sent] {
            sent = KoCommandOutcome::Report(dialog, link && link->SendReboot(),
                                            tr("Reboot command sent"));
            return sent;
        });
        run(dialog);
        return sent;
    }

    template <class Link>
    static void OpenOptionsDialog(QWidget* window, Link* link, int pass_id)
    {
        auto* dialog = new OptionsDialog(window, pass_id);
        dialog->setWindowTitle(
            dialog->windowTitle() + QCoreApplication::translate("MainWindow", " for ") +
            QString::number(pass_id) + QCoreApplication::translate("MainWindow", " channel"));
        dialog->SetSender([dialog, link](int pass, const ClientOptions& options) {
            return KoCommandOutcome::Report(dialog, link && link->SendClientOptions(pass, options),
                                            tr("Mount options of pass %1 sent").arg(pass));
        });
        run(dialog);
    }

private:
    template <class Dialog>
    static void run(Dialog* dialog)
    {
        QPointer<Dialog> guard(dialog);
        dialog->exec();
        // The window may have gone while the dialog ran, taking its child along.
        delete guard.data();
    }
};
