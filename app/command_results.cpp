#include "command_results.h"

#include "ko_update_progress.h"
#include "settings/ko_settings_writer.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

// The device confirmed settings that could not be kept: said, since the
// editor would otherwise open with older values as if nothing had happened.
void fileNotWritten(QWidget* window, const QString& name, const QString& reason)
{
    QMessageBox::warning(window, QCoreApplication::translate("MainWindow", "Error"),
                         QCoreApplication::translate(
                             "MainWindow", "The device took the settings, but \"%1\" could not be "
                                           "written: %2. The file keeps its old content.")
                             .arg(name, reason));
}

} // namespace

// The boxes are the main window's, so they are translated in its context
// ("MainWindow") and parented to it.

void CommandResults::UpdateFinished(QWidget* window, int ans)
{
    if (window) {
        for (KoUpdateProgress* progress : window->findChildren<KoUpdateProgress*>())
            progress->Finish();
    }
    if (ans == 100) {
        QMessageBox::information(window, QCoreApplication::translate("MainWindow", "Succes!"),
                                 QCoreApplication::translate("MainWindow",
                                                             "Update was finished succesfull. The "
                                                             "device will reboot after 1 minute."));
    } else {
        QMessageBox::warning(
            window, QCoreApplication::translate("MainWindow", "Warning!"),
            QCoreApplication::translate("MainWindow", "Update trouble. Code error: %0").arg(ans));
    }
}

void CommandResults::RebootAck(QWidget* window)
{
    QMessageBox::information(window, QCoreApplication::translate("MainWindow", "Succes!"),
                             QCoreApplication::translate("MainWindow", "Reboot command received"));
}

void CommandResults::ModemSettingsAck(QWidget* window, const QStringList& settings, int ack,
                                      bool boxes)
{
    if (ack < 0) {
        if (!boxes)
            return;
        QMessageBox::warning(
            window, QCoreApplication::translate("MainWindow", "Warning!"),
            QCoreApplication::translate("MainWindow", "Can not set modem settings. Code error: %0")
                .arg(ack));
        return;
    }
    if (ack == 1 && boxes)
        QMessageBox::information(
            window, QCoreApplication::translate("MainWindow", "Succes!"),
            QCoreApplication::translate("MainWindow", "Install modem settings OK!"));
    // The list is the one the device sent back, so the file holds what it
    // confirmed, also when it answered with 0.
    QString error;
    if (settings.size() >= 4 && !WriteModemFile(settings, &error))
        fileNotWritten(window, QStringLiteral("modem.txt"), error);
}

void CommandResults::IpServerAck(QWidget* window, const QStringList& settings, int ack, bool boxes)
{
    if (ack < 0) {
        if (!boxes)
            return;
        QMessageBox::warning(
            window, QCoreApplication::translate("MainWindow", "Warning!"),
            QCoreApplication::translate("MainWindow", "Can not set ip server. Code error: %0")
                .arg(ack));
        return;
    }
    if (ack == 1 && boxes)
        QMessageBox::information(
            window, QCoreApplication::translate("MainWindow", "Succes!"),
            QCoreApplication::translate("MainWindow", "Ip server settings OK!"));
    QString error;
    if (!settings.isEmpty() && !WriteRemoteFile(settings, &error))
        fileNotWritten(window, QStringLiteral("remote.txt"), error);
}

bool CommandResults::WriteModemFile(const QStringList& settings, QString* error)
{
    if (settings.size() < 4)
        return false;
    KoSettingsWriter writer(KoSettingsWriter::Terminator::CrLf);
    writer.SetOwnerOnly(true); // it holds the modem's password
    writer.AddText("PHONE", settings.at(0));
    writer.AddText("USERNAME", settings.at(1));
    writer.AddText("PASSWORD", settings.at(2));
    writer.AddText("APN", settings.at(3));
    return writer.Save(QStringLiteral("modem.txt"), error);
}

bool CommandResults::WriteRemoteFile(const QStringList& settings, QString* error)
{
    if (settings.isEmpty())
        return false;
    KoSettingsWriter writer(KoSettingsWriter::Terminator::CrLf);
    writer.AddText("IP", settings.at(0));
    return writer.Save(QStringLiteral("remote.txt"), error);
}
