#include "main_window.h"

#include "command_dialogs.h"
#include "command_results.h"
#include "fleet/ko_device_state.h"
#include "fleet/ko_fleet.h"
#include "fleet_commands.h"
#include "ko_app_data.h"
#include "ko_app_log.h"
#include "ko_capture_ui.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_menus.h"
#include "ko_network_settings.h"
#include "ko_report_export.h"
#include "ko_statistics_viewer.h"
#include "ko_tcp_client.h"
#include "ko_validation_window.h"
#include "ko_algo_service_controll_ui.h"
#include "network_setting_dialog.h"
#include "settings/ko_command_outcome.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>

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

    // The menus' conventions (an entry that opens a dialog ends with "…",
    // accelerators) are KoMenus'; new entries go through KoMenus::Add.
    using Opens = KoMenus::Opens;
    // Like every entry of the window's menus, the separators are the window's.
    const auto separator = [this] {
        auto* action = new QAction(this);
        action->setSeparator(true);
        ui->menuFile->addAction(action);
    };
    KoMenus::Add(ui->menuFile, this, tr("Address book"), tr("Open the address book of devices"),
                 Opens::Dialog, &MainWindow::sAddressBook);
    separator();
    saveConfigurationAction = KoMenus::Add(
        ui->menuFile, this, tr("Save configuration"),
        tr("Save the configuration of the connected device to a file"), Opens::Dialog,
        &MainWindow::sSaveConfiguration);
    QAction* apply_action = KoMenus::Add(ui->menuFile, this, tr("Apply configuration"),
                                         tr("Apply a saved configuration to the connected device"),
                                         Opens::Dialog, &MainWindow::sApplyConfiguration);
    separator();
    QAction* close_action = KoMenus::Add(ui->menuFile, this, tr("Close"), tr("Close program"),
                                         Opens::Action, &MainWindow::close);
    close_action->setShortcut(QKeySequence::Quit);

    KoMenus::Add(ui->menuTools, this, tr("Lan options"), tr("Open LAN network options"),
                 Opens::Dialog, &MainWindow::sOpenNetworkSettingsDialog);
    KoMenus::Add(ui->menuTools, this, tr("Modem settings"), tr("Open modem dialog"), Opens::Dialog,
                 &MainWindow::sModemDialog);
    KoMenus::Add(ui->menuTools, this, tr("Server settings"), tr("Open server dialog"),
                 Opens::Dialog, &MainWindow::sServerChangeDialog);
    KoMenus::Add(ui->menuTools, this, tr("Update"), tr("Open update dialog"), Opens::Dialog,
                 &MainWindow::sUpdateDialog);
    KoMenus::Add(ui->menuTools, this, tr("Reboot"), tr("Reboot device"), Opens::Dialog,
                 &MainWindow::sRebootDialog);

    setContentsMargins(0, 0, 0, 0);

    clientUi = new KoClientMultUi(this);

    auto* scroll_area = new QScrollArea(this);
    // The doors grow with the window; below their minimum the area scrolls.
    scroll_area->setWidgetResizable(true);
    scroll_area->setWidget(clientUi);

    validationAction = KoMenus::Add(ui->menuTools, this, tr("Validate doors"),
                                    tr("Count by hand beside the device and write a report"),
                                    Opens::Dialog, &MainWindow::sValidationWindow);

    // The system unit's texts are Russian in every language.
    KoMenus::Add(ui->menuTools, this, QStringLiteral("Системные настройки"), QString(),
                 Opens::Dialog, &MainWindow::sSysSettingsDialog);

    // The address book and what is known of the device the link aims at.
    fleet = new KoFleet(KoFleet::DefaultPath(), this);
    fleet->Watch(clientUi->Link());
    connect(fleet, &KoFleet::eSendingAllowedChanged, apply_action, &QAction::setEnabled);

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
    // The form's 11-pixel margins around the tabs: height the four doors
    // need in a small window.
    ui->horizontalLayout->setContentsMargins(4, 4, 4, 4);

    // The link's state and address stay in sight whatever the transient
    // texts (menu tips, the system unit's progress) do on the left.
    linkStatus = new KoLinkStatusWidget(this);
    linkStatus->setObjectName(QStringLiteral("linkStatus"));
    ui->statusBar->addPermanentWidget(linkStatus);
    linkStatus->Watch(clientUi->Link());

    // The book's device in use, by name, in the title and beside the link's state.
    baseTitle = windowTitle();
    const auto show_device = [this](const QString& name) {
        setWindowTitle(name.isEmpty() ? baseTitle
                                      : QStringLiteral("%1 \u2014 %2").arg(name, baseTitle));
        // A device named by its address is not named twice.
        const KoTcpClient* link = clientUi->Link();
        const bool address =
            name == link->HostName() ||
            name == KoLinkStatusWidget::AddressText(link->HostName(), link->Port());
        linkStatus->SetDeviceName(address ? QString() : name);
    };
    connect(fleet, &KoFleet::eCurrentChanged, this, show_device);
    show_device(fleet->CurrentName());
    connect(fleet, &KoFleet::eSaveFailed, this, [this](const QString& why) {
        ui->statusBar->showMessage(tr("The address book could not be written: %1").arg(why),
                                   KoCommandOutcome::ConfirmationMs);
    });

    captureUi = new KoCaptureUi(this, clientUi, linkStatus, ui->menuFile);
    connect(clientUi, &KoClientMultUi::eReplayChanged, this, &MainWindow::sReplayChanged);
    KoMenus::Watch(menuBar());
    restoreLook();
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
    // A validation counts against the live device: a running one pauses.
    sSetValidationEnabled(!replaying);
    // There is no device while a capture plays: the book does not connect,
    // nothing is applied or saved, and what the capture told of its doors is
    // forgotten at either end (the device tells it all again when connected).
    fleet->SetSendingAllowed(!replaying);
    saveConfigurationAction->setEnabled(!replaying);
    fleet->State()->Clear();
    // The statistics and the reports are the device's, asked for through the link.
    for (int tab = 1; tab < ui->tabWidget->count(); ++tab)
        ui->tabWidget->setTabEnabled(tab, !replaying);
    if (replaying)
        ui->tabWidget->setCurrentIndex(0);
}

MainWindow::~MainWindow() = default;

namespace {

const char* const GeometryKey = "window/geometry";
const char* const TabKey = "window/tab";

} // namespace

void MainWindow::restoreLook()
{
    // The form's size is the first start's; then the operator's own.
    const QSettings settings(KoAppData::IniPath(), QSettings::IniFormat);
    const QByteArray geometry = settings.value(QLatin1String(GeometryKey)).toByteArray();
    if (!geometry.isEmpty() && !restoreGeometry(geometry))
        qCDebug(lcApp) << "the kept window geometry does not fit, the form's size is used";
    bool ok = false;
    const int tab = settings.value(QLatin1String(TabKey)).toInt(&ok);
    if (ok && tab >= 0 && tab < ui->tabWidget->count())
        ui->tabWidget->setCurrentIndex(tab);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QSettings settings(KoAppData::IniPath(), QSettings::IniFormat);
    settings.setValue(QLatin1String(GeometryKey), saveGeometry());
    settings.setValue(QLatin1String(TabKey), ui->tabWidget->currentIndex());
    QMainWindow::closeEvent(event);
}

void MainWindow::sReconnect(KoNetworkOptions net_settings)
{
    if (KoTcpClient* link = clientUi->Link())
        link->Reconnect(net_settings.hostName, net_settings.port);
}

void MainWindow::sOpenNetworkSettingsDialog()
{
    auto dialog = std::make_unique<NetworkSettingDialog>(this);
    connect(dialog.get(), &NetworkSettingDialog::eOkClicked, this, &MainWindow::sReconnect);
    // A new address can go into the address book with one click.
    KoNetworkSettings* content = dialog->Content();
    content->OfferBook([this](const QString& host, quint16 port) {
        return fleet->Book().IndexOf(host, port) >= 0;
    });
    connect(content, &KoNetworkSettings::eAddToBook, this, [this](const KoNetworkOptions& options) {
        QString why;
        if (fleet->AddAddress(options.hostName, options.port, &why))
            KoCommandOutcome::Confirm(this,
                                      tr("%1 added to the address book").arg(options.hostName));
        else
            QMessageBox::warning(this, tr("Error"),
                                 tr("The address book could not be written: %1").arg(why));
    });
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

// While a configuration is applied, its dialog reports the device's answers;
// the files are kept all the same.
void MainWindow::sModemSettingsAck(const QStringList& settings, int ack)
{
    CommandResults::ModemSettingsAck(this, settings, ack, !fleet->Applying());
}

void MainWindow::sIpServerAck(const QStringList& settings, int ack)
{
    CommandResults::IpServerAck(this, settings, ack, !fleet->Applying());
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

void MainWindow::sAddressBook()
{
    FleetCommands::AddressBook(this, fleet);
}

void MainWindow::sSaveConfiguration()
{
    FleetCommands::SaveConfiguration(this, fleet);
}

void MainWindow::sApplyConfiguration()
{
    FleetCommands::ApplyConfiguration(this, fleet);
}

void MainWindow::sValidationWindow()
{
    if (!validationWindow) {
        validationWindow = new KoValidationWindow(clientUi->Link(), this);
        validationWindow->setObjectName(QStringLiteral("validationWindow"));
        for (int pass = 0; pass < 4; ++pass)
            validationWindow->SetDoorScene(pass, &clientUi->Panel(pass)->scene);
        validationWindow->sPassCnt(clientUi->PassCount());
    }
    validationWindow->show();
    validationWindow->raise();
    validationWindow->activateWindow();
}

void MainWindow::sSetValidationEnabled(bool enabled)
{
    validationAction->setEnabled(enabled);
    if (!enabled && validationWindow) {
        validationWindow->sPause();
        validationWindow->hide();
    }
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
