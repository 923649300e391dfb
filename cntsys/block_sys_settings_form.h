#pragma once

#include "counter_profile.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <map>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;

// The modal dialog "Системные настройки": the system unit's date, time, time
// zone, LAN and server address, checked and handed on as one profile.
class BlockSysSettingsForm : public QDialog
{
    Q_OBJECT

public:
    // Shows a refused field; by default a warning box "Ошибка" with OK.
    using Warner = std::function<void(QWidget* form, const QString& text)>;

    explicit BlockSysSettingsForm(QWidget* parent = nullptr);

    void SetWarner(Warner warner) { warn = std::move(warner); }
    const cntsys::CounterProfile& Profile() const { return profile; }
    // Offsets in minutes and their names, in offset order.
    const std::map<int16_t, QString>& TimeZones() const { return timeZones; }
    // The computer's own offset from UTC in minutes.
    static int LocalOffsetMinutes();

signals:
    void eOK(cntsys::CounterProfile profile);
    void eCancel();
    void eDisableSync();

public slots:
    void ShowParams(cntsys::CounterProfile p, bool disable_sync);
    void ShowParams(cntsys::CounterProfile p) { ShowParams(p, false); }
    void ShowTimeParams(cntsys::TimeParams p, bool disable_sync);
    void ShowTimeParams(cntsys::TimeParams p) { ShowTimeParams(p, false); }
    void ShowDateTime(cntsys::TimeParams p, bool disable_sync);
    void ShowDateTime(cntsys::TimeParams p) { ShowDateTime(p, false); }
    void sDateTimeBtnSyncPressed();
    void sTimeZoneSyncBtnPressed();
    void sApplyBtnPressed();
    void sCancelBtnPressed();
    void sDateTimeChanged();
    void sCalendarBtnPressed();
    void sCalendarFormExit(bool ok_pressed, QDate date);

private:
    void Build();
    void ShowAddresses(const cntsys::CounterProfile& p);
    void ShowTimeZone(int16_t zone);
    // The zone of the combo: a name of the table or a zone text.
    bool ChosenZone(int16_t& zone) const;
    // Shows a moment (UTC seconds) at the chosen zone, unless the operator
    // has changed the date or time.
    void ShowMoment(uint64_t utc);

    QDateEdit* dateEdit = nullptr;
    QTimeEdit* timeEdit = nullptr;
    QComboBox* timeZoneCombo = nullptr;
    QLineEdit* lanIpEdit = nullptr;
    QLineEdit* lanPortEdit = nullptr;
    QLineEdit* lanMaskEdit = nullptr;
    QLineEdit* lanGateEdit = nullptr;
    QLineEdit* lanDnsEdit = nullptr;
    QLineEdit* srvIpEdit = nullptr;
    QLineEdit* srvPortEdit = nullptr;

    cntsys::CounterProfile profile;
    std::map<int16_t, QString> timeZones;
    Warner warn;
    // The moment the date and time edits show while the operator has not
    // changed them; another zone shows it again in that zone.
    uint64_t shownUtc = 0;
    // The edits or the combo are being set by the form, not by the operator.
    bool showing = false;
    bool settingZone = false;
    // The operator has changed the date or time: later clock refreshes would
    // overwrite the entry and are ignored. The same for the zone.
    bool operatorEdited = false;
    bool zoneChosen = false;
};
