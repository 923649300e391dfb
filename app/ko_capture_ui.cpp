#include "ko_capture_ui.h"

#include "ko_app_data.h"
#include "ko_capture_player.h"
#include "ko_capture_recorder.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_menus.h"
#include "ko_replay_bar.h"
#include "ko_tcp_client.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

namespace {

const char* const FolderKey = "capture";
constexpr qint64 MiB = 1024 * 1024;
constexpr int SayMs = 15000;

QString Suffixed(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".vcap") : path;
}

} // namespace

KoCaptureUi::KoCaptureUi(QMainWindow* window_, KoClientMultUi* container_,
                         KoLinkStatusWidget* status_, QMenu* file_menu)
    : QObject(window_), window(window_), container(container_), status(status_),
      baseTitle(window_->windowTitle())
{
    player = new KoCapturePlayer(this);
    KoTcpClient* link = container->Link();
    player->SetReceiver([link](const QByteArray& bytes) { link->FeedReplay(bytes); },
                        [link] { return link->ReplayBusy(); });
    connect(player, &KoCapturePlayer::eJumped, container, &KoClientMultUi::RestartReplay);
    connect(player, &KoCapturePlayer::eStateChanged, container, [this](KoCapturePlayer::State s) {
        container->SetReplayFrozen(s != KoCapturePlayer::State::Playing);
    });

    recorder = new KoCaptureRecorder(this);
    connect(recorder, &KoCaptureRecorder::eSizeChanged, this, &KoCaptureUi::ShowRecording);
    connect(recorder, &KoCaptureRecorder::eStopped, this, &KoCaptureUi::sRecordingStopped);

    bar = new KoReplayBar(player);
    bar->setObjectName(QStringLiteral("replayBar"));
    connect(bar, &KoReplayBar::eCloseClicked, this, &KoCaptureUi::CloseCapture);
    connect(player, &KoCapturePlayer::eEnded, this, [this] { Say(bar->EndText()); });
    barHolder = new QToolBar(tr("Replay"), window);
    barHolder->setObjectName(QStringLiteral("replayToolBar"));
    barHolder->setMovable(false);
    barHolder->setFloatable(false);
    barHolder->addWidget(bar);
    window->addToolBar(Qt::TopToolBarArea, barHolder);
    barHolder->hide();

    openAction = new QAction(KoMenus::EntryText(tr("Open capture"), KoMenus::Opens::Dialog), window);
    openAction->setShortcut(QKeySequence::Open);
    openAction->setStatusTip(tr("Replay a recorded capture in the live view"));
    connect(openAction, &QAction::triggered, this, &KoCaptureUi::sOpenCaptureClicked);
    closeAction = new QAction(tr("Close capture"), window);
    closeAction->setStatusTip(tr("End the replay and connect to the device again"));
    closeAction->setEnabled(false);
    connect(closeAction, &QAction::triggered, this, &KoCaptureUi::CloseCapture);
    recordAction = new QAction(window);
    recordAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(recordAction, &QAction::triggered, this, &KoCaptureUi::sRecordClicked);
    ShowRecording();

    // Like every entry of the window's menus, the separators are the window's.
    const auto separator = [this] {
        auto* action = new QAction(window);
        action->setSeparator(true);
        return action;
    };
    QAction* first = file_menu->actions().value(0);
    file_menu->insertActions(first,
                             {openAction, closeAction, separator(), recordAction, separator()});

    connect(container, &KoClientMultUi::eReplayChanged, this, &KoCaptureUi::sReplayChanged);
}

KoCaptureUi::~KoCaptureUi() = default;

qint64 KoCaptureUi::SizeLimit()
{
    const QSettings settings(KoAppData::Folder() + QStringLiteral("configurator.ini"),
                             QSettings::IniFormat);
    bool ok = false;
    const qint64 mib = settings.value(QStringLiteral("capture/size_limit_mib")).toLongLong(&ok);
    return (ok && mib > 0 ? mib : DefaultLimitMiB) * MiB;
}

bool KoCaptureUi::OpenCapture(const QString& path, QString* error)
{
    if (recorder->Recording()) {
        QString why;
        const bool kept = recorder->Stop(ko_capture::EndReason::Replay, &why);
        ShowRecording();
        Say(kept ? tr("Recording stopped for the replay; the capture is saved as %1.")
                       .arg(QDir::toNativeSeparators(recorder->Path()))
                 : tr("Recording stopped for the replay; %1 could not be written (%2).")
                       .arg(QDir::toNativeSeparators(recorder->Path()), why));
    }
    if (!player->Open(path, error)) {
        // The replay that played before is closed too: back to the device.
        if (container->Replaying())
            CloseCapture();
        return false;
    }
    replayPath = path;
    container->SetReplay(true);
    bar->ShowCapture(path);
    player->SetSpeed(bar->speedCombo->currentData().toDouble());
    window->setWindowTitle(tr("%1 - replay of %2").arg(baseTitle, QFileInfo(path).fileName()));
    status->SetField(QStringLiteral("replay"), tr("Replay of %1").arg(QFileInfo(path).fileName()),
                     QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    player->Play();
    return true;
}

void KoCaptureUi::CloseCapture()
{
    // How the replay ended is no news once it is closed.
    if (window->statusBar()->currentMessage() == bar->EndText())
        window->statusBar()->clearMessage();
    player->Close();
    replayPath.clear();
    container->SetReplay(false);
}

void KoCaptureUi::sReplayChanged(bool replaying)
{
    barHolder->setVisible(replaying);
    closeAction->setEnabled(replaying);
    // What a replay receives comes from no socket: there is nothing to record.
    recordAction->setEnabled(!replaying);
    if (!replaying) {
        window->setWindowTitle(baseTitle);
        status->SetField(QStringLiteral("replay"), QString());
    }
}

bool KoCaptureUi::StartRecording(const QString& path, QString* error)
{
    if (container->Replaying()) {
        if (error)
            *error = tr("a capture is playing");
        return false;
    }
    const bool started = recorder->Start(container->Link(), path, SizeLimit(), error);
    ShowRecording();
    return started;
}

bool KoCaptureUi::StopRecording(QString* error)
{
    QString why;
    const bool kept = recorder->Stop(ko_capture::EndReason::Stopped, &why);
    ShowRecording();
    const QString shown = QDir::toNativeSeparators(recorder->Path());
    Say(kept ? tr("Capture saved as %1.").arg(shown)
             : tr("The capture %1 could not be written: %2").arg(shown, why));
    if (error)
        *error = why;
    return kept;
}

void KoCaptureUi::ShowRecording()
{
    const bool on = recorder->Recording();
    recordAction->setText(on ? tr("Stop recording")
                               : KoMenus::EntryText(tr("Record capture"), KoMenus::Opens::Dialog));
    recordAction->setStatusTip(on ? tr("Stop the recording and save the capture")
                                  : tr("Record what the device sends into a capture file"));
    if (!on) {
        status->SetField(QStringLiteral("capture"), QString());
        return;
    }
    status->SetField(QStringLiteral("capture"),
                     tr("Recording %1 MiB").arg(double(recorder->Size()) / MiB, 0, 'f', 1),
                     tr("Recording to %1; it stops at %2 MiB")
                         .arg(QDir::toNativeSeparators(recorder->Path()))
                         .arg(recorder->Limit() / MiB));
}

void KoCaptureUi::sRecordingStopped(ko_capture::EndReason reason, bool kept,
                                    const QString& error)
{
    ShowRecording();
    const QString shown = QDir::toNativeSeparators(recorder->Path());
    QString text;
    if (!kept)
        text = tr("The recording stopped: the capture %1 could not be written (%2).")
                   .arg(shown, error);
    else if (reason == ko_capture::EndReason::SizeLimit)
        text = tr("The recording stopped at its size limit of %1 MiB; the capture is saved as %2.")
                   .arg(recorder->Limit() / MiB)
                   .arg(shown);
    else
        text = tr("The recording stopped because the link was pointed at another device; the "
                  "capture is saved as %1.")
                   .arg(shown);
    Say(text);
    // Not modal: the pictures go on while it is read.
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Warning"), text, QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("recordingStoppedBox"));
    box->open();
}

void KoCaptureUi::sOpenCaptureClicked()
{
    const QString path = QFileDialog::getOpenFileName(
        window, tr("Open capture"), KoAppData::LastFolder(QLatin1String(FolderKey), QDir::homePath()),
        tr("Captures (*.vcap);;All files (*)"));
    if (path.isEmpty())
        return;
    KoAppData::SetLastFolder(QLatin1String(FolderKey), QFileInfo(path).absolutePath());
    QString error;
    if (!OpenCapture(path, &error))
        QMessageBox::warning(window, tr("Warning"),
                             tr("%1 cannot be replayed: %2.")
                                 .arg(QDir::toNativeSeparators(path), error));
}

void KoCaptureUi::sRecordClicked()
{
    if (recorder->Recording()) {
        QString error;
        if (!StopRecording(&error))
            QMessageBox::warning(window, tr("Warning"),
                                 tr("The capture %1 could not be written: %2")
                                     .arg(QDir::toNativeSeparators(recorder->Path()), error));
        return;
    }
    const QString name = QStringLiteral("capture-%1.vcap")
                             .arg(QDateTime::currentDateTime().toString(
                                 QStringLiteral("yyyyMMdd-HHmmss")));
    const QString start =
        KoAppData::LastFolder(QLatin1String(FolderKey), QDir::homePath()) + QLatin1Char('/') + name;
    QString path = QFileDialog::getSaveFileName(window, tr("Record capture"), start,
                                                tr("Captures (*.vcap)"));
    if (path.isEmpty())
        return;
    path = Suffixed(path);
    KoAppData::SetLastFolder(QLatin1String(FolderKey), QFileInfo(path).absolutePath());
    QString error;
    if (!StartRecording(path, &error))
        QMessageBox::warning(window, tr("Warning"),
                             tr("Cannot record to %1: %2").arg(QDir::toNativeSeparators(path), error));
}

void KoCaptureUi::Say(const QString& text)
{
    window->statusBar()->showMessage(text, SayMs);
}
