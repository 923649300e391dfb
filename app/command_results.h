#pragma once

#include <QStringList>

class QWidget;

// What the main window makes of the device's answers to the Tools commands:
// a modal box with one OK button, parented to the window, and for the modem
// and server settings the file that the editors read the next time they open
// (a file that cannot be written is said in a box of its own). The answer to
// an update ends its progress.
// The main window's result slots call these one to one.
class CommandResults
{
public:
    static void UpdateFinished(QWidget* window, int ans);
    static void RebootAck(QWidget* window);
    // Without boxes, only the file is kept (a failure to keep it is still said).
    static void ModemSettingsAck(QWidget* window, const QStringList& settings, int ack,
                                 bool boxes = true);
    static void IpServerAck(QWidget* window, const QStringList& settings, int ack,
                            bool boxes = true);

    // "modem.txt" (readable by its owner only: it holds a password) from the
    // first four items, "remote.txt" from the first one; too short a list
    // writes nothing. Return whether the file was written; error gets why not.
    static bool WriteModemFile(const QStringList& settings, QString* error = nullptr);
    static bool WriteRemoteFile(const QStringList& settings, QString* error = nullptr);
};
