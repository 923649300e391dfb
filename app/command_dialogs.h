#pragma once

#include "change_ip_dialog.h"
#include "modem_dialog.h"
#include "options_dialog.h"
#include "reboot_dialog.h"
#include "update_dialog.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>

// The Tools-menu dialogs and the mount options dialog, as the main window opens
// them: a fresh host with the window as parent, its confirmation connected to
// the container's send slot, run modally, deleted when it closes. The
// container is a template parameter so that anything with the container's
// send slots will do.
class CommandDialogs
{
public:
    template <class Container>
    static void OpenModemDialog(QWidget* window, Container* container)
    {
        run(new ModemDialog(window), &ModemDialog::eOkClicked, container,
            &Container::sSendModemSettings);
    }

    template <class Container>
    static void OpenServerChangeDialog(QWidget* window, Container* container)
    {
        run(new ChangeIPDialog(window), &ChangeIPDialog::eOkClicked, container,
            &Container::sSendServerIpSettings);
    }

    template <class Container>
    static void OpenUpdateDialog(QWidget* window, Container* container)
    {
        run(new SwUpdateDialog(window), &SwUpdateDialog::eOkClicked, container,
            &Container::sSwUpdate);
    }

    template <class Container>
    static void OpenRebootDialog(QWidget* window, Container* container)
    {
        run(new RebootDialog(window), &RebootDialog::eOkClicked, container, &Container::sReboot);
    }

    template <class Container>
    static void OpenOptionsDialog(QWidget* window, Container* container, int pass_id)
    {
        auto* dialog = new OptionsDialog(window, pass_id);
        dialog->setWindowTitle(
            dialog->windowTitle() + QCoreApplication::translate("MainWindow", " for ") +
            QString::number(pass_id) + QCoreApplication::translate("MainWindow", " channel"));
        run(dialog, &OptionsDialog::eOkClicked, container, &Container::sSendOptions);
    }

private:
    template <class Dialog, class Signal, class Container, class Slot>
    static void run(Dialog* dialog, Signal signal, Container* container, Slot slot)
    {
        QPointer<Dialog> guard(dialog);
        QObject::connect(dialog, signal, container, slot);
        dialog->exec();
        // The window may have gone while the dialog ran, taking its child along.
        delete guard.data();
    }
};
