#pragma once

#include "ko_device_records.h"
#include "sys_controller.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <string>

class KoClientMultUi;
class KoFleet;
class KoLinkStatusWidget;
namespace Ui {
class MainWindowClass;
}

// The one top-level window: menus, the "Video", "Statistics" and "Reports"
// tabs, the status bar, and the wiring between the pages and the device link.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

public slots:
    void sReconnect(KoNetworkOptions net_settings);
    void sOpenNetworkSettingsDialog();
    void sModemDialog();
    void sServerChangeDialog();
    void sUpdateDialog();
    void sRebootDialog();
    void sOptionsReq(int pass_id);
    void sUpdateFinished(int ans);
    void sModemSettingsAck(const QStringList& settings, int ack);
    void sIpServerAck(const QStringList& settings, int ack);
    void sRebootAck();
    void sSysSettingsDialog();
    void sAddressBook();
    void sSaveConfiguration();
    void sApplyConfiguration();
    // The system-unit controller's yes/no question, answered before it
    // returns (the box runs its own event loop). Uses no window state.
    static void sShowQuestion(std::wstring cap, std::wstring text, bool* result);

protected:
    // Keeps the window's geometry and tab for the next start.
    void closeEvent(QCloseEvent* event) override;

private:
    void restoreLook();

    std::unique_ptr<Ui::MainWindowClass> ui;
    KoClientMultUi* clientUi = nullptr;
    KoLinkStatusWidget* linkStatus = nullptr;
    KoFleet* fleet = nullptr;
    QString baseTitle; // the window's title without a device's name
    // Destroyed before the pages and the link it talks to.
    cntsys::SysController sysController;
    bool rebootAsked = false; // Tools -> Reboot sent a reboot not yet acknowledged
};
