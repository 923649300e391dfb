#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// What the operator is told of a command that goes to the device. Every
// request of the link answers whether it went out (false: there is no
// connection and nothing was sent). Report turns that answer into a warning
// box over the widget the command came from, or into a confirmation in the
// status bar of the main window that holds that widget. A dialog that gets
// false stays open with what was typed.
//
//     if (!KoCommandOutcome::Report(this, link->SendReboot(), tr("Reboot command sent")))
//         return; // the operator has been told; keep the values
class KoCommandOutcome
{
    Q_DECLARE_TR_FUNCTIONS(KoCommandOutcome)

public:
    // How long a confirmation stays in the status bar.
    static constexpr int ConfirmationMs = 10000;

    // Returns sent. Not sent: a modal warning box over origin. Sent: the
    // confirmation, when there is one, in the status bar.
    static bool Report(QWidget* origin, bool sent, const QString& confirmation = QString());

    // Shows text in the status bar of the main window that holds widget (the
    // widget itself, or one of its parents); nothing when there is none.
    static void Confirm(QWidget* widget, const QString& text);

    // The texts of the warning box, for pages that show their boxes themselves.
    static QString NotSentTitle();
    static QString NotSentText();
};
