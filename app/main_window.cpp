#include "main_window.h"

#include "command_dialogs.h"
#include "command_results.h"
#include "ko_app_data.h"
#include "ko_app_log.h"
#include "ko_capture_ui.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_report_export.h"
#include "ko_statistics_viewer.h"
#include "ko_tcp_client.h"
#include "network_setting_dialog.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>

#include <memory>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::WindowFlags()), ui(std::make_unique<Ui::MainWindowClass>())
{
    // Both travel between the reader thread and the GUI thread.
    qRegisterMetaType<QByteArray>("QByteArray");
    qRegisterMetaType<QString>("QString");

    ui->setupUi(this);

    // Every settings file is a plain name relative to the data folder. Without
    // a folder they stay where the program was started.
    const QString folder = KoAppData::Folder();
    if (!folder.isEmpty() && !QDir::setCurrent(folder))
        qCWarning(lcApp) << "cannot enter the data folder" << folder;
    qCDebug(lcApp) << "working directory" << QDir::currentPath();

    auto* close_action = new QAction(tr("Close"), this);
    close_action->setStatusTip(tr("Close program"));
    connect(close_action, &QAction::triggered, this, &MainWindow::close);
    ui->menuFile->addAction(close_action);

    struct ToolEntry
    {
        QString text;
        QString tip;
        void (MainWindow::*slot)();
    };
    const ToolEntry tools[] = {
        {tr("Lan options"), tr("Open LAN network options"),
         &MainWindow::sOpenNetworkSettingsDialog},
        {tr("Modem settings"), tr("Open modem dialog"), &MainWindow::sModemDialog},
        {tr("Server settings"), tr("Open server dialog"), &MainWindow::sServerChangeDialog},
        {tr("Update"), tr("Open update dialog"), &MainWindow::sUpdateDialog},
        {tr("Reboot"), tr("Reboot device"), &MainWindow::sRebootDialog},
    };
    for (const ToolEntry& entry : tools) {
        auto* action = new QAction(entry.text, this);
        action->setStatusTip(entry.tip);
        connect(action, &QAction::triggered, this, entry.slot);
        ui->menuTools->addAction(action);
    }

    setContentsMargins(0, 0, 0, 0);

    clientUi = new KoClientMultUi(this);

    auto* scroll_area = new QScrollArea(this);
    // The doors grow with the window; below their minimum the area scrolls.
    scroll_area->setWidgetResizable(true);
    scroll_area->setWidget(clientUi);

    // The system unit's texts are Russian in every language.
    auto* sys_action = new QAction(QStringLiteral("Системные настройки"), this);
    connect(sys_action, &QAction::triggered, this, &MainWindow::sSysSettingsDialog);
    ui->menuTools->addAction(sys_action);

    sysController.SetLink(clientUi->Link());
    sysController.SetStatusBar(ui->statusBar);
    sysController.SetParentWidget(this);
    // Checked by the compiler: a renamed slot cannot leave the question
    // unanswered, which would read as "no".
    connect(&sysController, &cntsys::SysController::eShowWindow, this, &MainWindow::sShowQuestion);

    // The form's two pages only held places; clear() would keep them as
    // hidden children.
    ui->tabWidget->clear();
    delete ui->tab;
    ui->tab = nullptr;
    delete ui->tab_2;
    ui->tab_2 = nullptr;
    ui->tabWidget->addTab(scroll_area, tr("Video"));
    ui->tabWidget->setTabsClosable(false);

    connect(clientUi, &KoClientMultUi::eOptionsReq, this, &MainWindow::sOptionsReq);
    connect(clientUi, &KoClientMultUi::eUpdateFinished, this, &MainWindow::sUpdateFinished);
    connect(clientUi, &KoClientMultUi::eModemSettingsAck, this, &MainWindow::sModemSettingsAck);
    connect(clientUi, &KoClientMultUi::eIpServerAck, this, &MainWindow::sIpServerAck);

    auto* statistics = new KoStatisticsViewer(this);
    connect(clientUi, &KoClientMultUi::eStatisticRecieved, statistics,
            &KoStatisticsViewer::sStatisticRecieved);
    connect(clientUi, &KoClientMultUi::ePassCnt, statistics, &KoStatisticsViewer::sPassCnt);
    // The pages send through the link themselves, so that they learn whether
    // a request went out.
    KoTcpClient* link = clientUi->Link();
    const auto send_stat_req = [link](int id, const KoStatisticsData& start,
                                      const KoStatisticsData& end, STATISTICS_TYPE stype,
                                      STATISTICS_ID sid) {
        return link->SendStatReq(id, start, end, stype, sid);
    };
    statistics->SetSender(send_stat_req);
    ui->tabWidget->addTab(statistics, tr("Statistics"));

    auto* reports = new KoReportExport(this);
    connect(clientUi, &KoClientMultUi::ePassCnt, reports, &KoReportExport::sPassCnt);
    reports->SetSender(send_stat_req);
    connect(clientUi, &KoClientMultUi::eStatisticAllRecieved, reports,
            &KoReportExport::sStatisticXmlRecieved);
    ui->tabWidget->addTab(reports, tr("Reports"));

    connect(clientUi, &KoClientMultUi::eRebootAck, this, &MainWindow::sRebootAck);

    layout()->setContentsMargins(0, 0, 0, 0);

    // The link's state and address stay in sight whatever the transient
    // texts (menu tips, the system unit's progress) do on the left.
    linkStatus = new KoLinkStatusWidget(this);
    linkStatus->setObjectName(QStringLiteral("linkStatus"));
    ui->statusBar->addPermanentWidget(linkStatus);
    linkStatus->Watch(clientUi->Link());

    captureUi = new KoCaptureUi(this, clientUi, linkStatus, ui->menuFile);
    connect(clientUi, &KoClientMultUi::eReplayChanged, this, &MainWindow::sReplayChanged);
}

bool MainWindow::Replaying() const
{
    return clientUi->Replaying();
}

void MainWindow::sReplayChanged(bool replaying)
{
    // The menu and each entry, so that no shortcut reaches one either.
    ui->menuTools->setEnabled(!replaying);
    for (QAction* action : ui->menuTools->actions())
        action->setEnabled(!replaying);
    // The statistics and the reports are the device's, asked for through the link.
    for (int tab = 1; tab < ui->tabWidget->count(); ++tab)
        ui->tabWidget->setTabEnabled(tab, !replaying);
    if (replaying)
        ui->tabWidget->setCurrentIndex(0);
}

MainWindow::~MainWindow() = default;

void MainWindow::sReconnect(KoNetworkOptions net_settings)
{
    if (KoTcpClient* link = clientUi->Link())
        link->Reconnect(net_settings.hostName, net_settings.port);
}

void MainWindow::sOpenNetworkSettingsDialog()
{
    auto dialog = std::make_unique<NetworkSettingDialog>(this);
    connect(dialog.get(), &NetworkSettingDialog::eOkClicked, this, &MainWindow::sReconnect);
    dialog->exec();
}

void MainWindow::sModemDialog()
{
    CommandDialogs::OpenModemDialog(this, clientUi->Link());
}

void MainWindow::sServerChangeDialog()
{
    CommandDialogs::OpenServerChangeDialog(this, clientUi->Link());
}

void MainWindow::sUpdateDialog()
{
    CommandDialogs::OpenUpdateDialog(this, clientUi->Link());
}

void MainWindow::sRebootDialog()
{
    rebootAsked = CommandDialogs::OpenRebootDialog(this, clientUi->Link()) || rebootAsked;
}

void MainWindow::sOptionsReq(int pass_id)
{
    CommandDialogs::OpenOptionsDialog(this, clientUi->Link(), pass_id);
}

void MainWindow::sUpdateFinished(int ans)
{
    CommandResults::UpdateFinished(this, ans);
}

void MainWindow::sModemSettingsAck(const QStringList& settings, int ack)
{
    CommandResults::ModemSettingsAck(this, settings, ack);
}

void MainWindow::sIpServerAck(const QStringList& settings, int ack)
{
    CommandResults::IpServerAck(this, settings, ack);
}

void MainWindow::sRebootAck()
{
    // The system unit's apply reboots the device too and says so itself.
    if (!rebootAsked)
        return;
    rebootAsked = false;
    CommandResults::RebootAck(this);
}

void MainWindow::sSysSettingsDialog()
{
    sysController.ShowSettingsDialog(this);
}

void MainWindow::sShowQuestion(std::wstring cap, std::wstring text, bool* result)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(QString::fromStdWString(cap));
    box->setText(QString::fromStdWString(text));
    box->setIcon(QMessageBox::Question);
    QPushButton* yes = box->addButton(QMessageBox::Yes);
    QPushButton* no = box->addButton(QMessageBox::No);
    yes->setText(QStringLiteral("Да"));
    no->setText(QStringLiteral("Нет"));
    box->exec();
    // Closing the box any other way than with Yes answers no.
    const bool answer = box->clickedButton() == yes;
    box.reset();
    if (result)
        *result = answer;
}
