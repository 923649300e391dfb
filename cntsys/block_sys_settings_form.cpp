#include "block_sys_settings_form.h"

#include "calendar_form.h"
#include "ko_app_data.h"
#include "text_forms.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

using cntsys::CounterProfile;
using cntsys::TimeParams;

namespace {

QString profilePath()
{
    return KoAppData::Folder() + QLatin1String(CounterProfile::FileName);
}

template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A bold group title over contents of normal weight.
QGroupBox* group(QWidget* parent, const char* name, const QString& title)
{
    auto* box = named(new QGroupBox(title, parent), name);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    return box;
}

void normalWeight(QGroupBox* box)
{
    for (QWidget* child : box->findChildren<QWidget*>()) {
        QFont f = child->font();
        f.setBold(false);
        child->setFont(f);
    }
}

QLineEdit* row(QGridLayout* grid, int r, const char* label_name, const QString& label,
               const char* edit_name)
{
    QWidget* parent = grid->parentWidget();
    grid->addWidget(named(new QLabel(label, parent), label_name), r, 0);
    auto* edit = named(new QLineEdit(parent), edit_name);
    grid->addWidget(edit, r, 1);
    return edit;
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const char* icon)
{
    auto* button = named(new QToolButton(parent), name);
    button->setText(text);
    button->setIcon(QIcon(QLatin1String(icon)));
    return button;
}

} // namespace

BlockSysSettingsForm::BlockSysSettingsForm(QWidget* parent) : QDialog(parent)
{
    warn = [](QWidget* form, const QString& text) {
        QMessageBox::warning(form, QStringLiteral("Ошибка"), text, QMessageBox::Ok);
    };
    Build();

    timeZones = {
        {120, QStringLiteral("UTC+2 Калининград")},  {180, QStringLiteral("UTC+3 Москва")},
        {240, QStringLiteral("UTC+4 Самара")},       {300, QStringLiteral("UTC+5 Екатеринбург")},
        {360, QStringLiteral("UTC+6 Омск")},         {420, QStringLiteral("UTC+7 Красноярск")},
        {480, QStringLiteral("UTC+8 Иркутск")},      {540, QStringLiteral("UTC+9 Якутск")},
        {600, QStringLiteral("UTC+10 Владивосток")}, {660, QStringLiteral("UTC+11 Магадан")},
        {720, QStringLiteral("UTC+12 Камчатка")}};
    for (const auto& zone : timeZones)
        timeZoneCombo->addItem(zone.second);
    // The edits follow the zone: what they show is what the unit will show.
    connect(timeZoneCombo, &QComboBox::currentTextChanged, this, [this] {
        zoneChosen = zoneChosen || !settingZone;
        ShowMoment(shownUtc);
    });
    ShowTimeZone(180);

    // The file holds no date and time: the computer's moment stays until the
    // unit's comes.
    ShowMoment(uint64_t(QDateTime::currentSecsSinceEpoch()));
    if (profile.LoadFromFile(profilePath())) {
        ShowAddresses(profile);
        ShowTimeZone(profile.time.time_zone);
    } else {
        profile.time.time_zone = CounterProfile::DefaultTimeZone;
    }

    connect(findChild<QToolButton*>(QStringLiteral("DateTimeSyncBtn")), &QToolButton::pressed, this,
            &BlockSysSettingsForm::sDateTimeBtnSyncPressed);
    connect(findChild<QToolButton*>(QStringLiteral("TimeZoneSyncBtn")), &QToolButton::pressed, this,
            &BlockSysSettingsForm::sTimeZoneSyncBtnPressed);
    connect(findChild<QPushButton*>(QStringLiteral("ApplyBtn")), &QPushButton::pressed, this,
            &BlockSysSettingsForm::sApplyBtnPressed);
    connect(findChild<QPushButton*>(QStringLiteral("CancelBtn")), &QPushButton::pressed, this,
            &BlockSysSettingsForm::sCancelBtnPressed);
    connect(findChild<QToolButton*>(QStringLiteral("CalendarBtn")), &QToolButton::clicked, this,
            &BlockSysSettingsForm::sCalendarBtnPressed);
    connect(dateEdit, &QDateEdit::dateChanged, this, &BlockSysSettingsForm::sDateTimeChanged);
    connect(timeEdit, &QTimeEdit::timeChanged, this, &BlockSysSettingsForm::sDateTimeChanged);
}

void BlockSysSettingsForm::Build()
{
    setObjectName(QStringLiteral("BlockSysSettingsForm"));
    setWindowTitle(QStringLiteral("Системные настройки"));
    setWindowModality(Qt::WindowModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QGroupBox* date_group = group(this, "DateTimeGroup", QStringLiteral("Дата и время"));
    auto* date_grid = new QGridLayout(date_group);
    date_grid->addWidget(
        named(new QLabel(QStringLiteral("Дата и время:"), date_group), "DateTimeLabel"), 0, 0);
    dateEdit = named(new QDateEdit(date_group), "DateEdit");
    dateEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    timeEdit = named(new QTimeEdit(date_group), "TimeEdit");
    timeEdit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    date_grid->addWidget(dateEdit, 0, 1);
    date_grid->addWidget(timeEdit, 0, 2);
    date_grid->addWidget(
        toolButton(date_group, "CalendarBtn", QStringLiteral("..."), ":/calendaricon.png"), 0, 3);
    date_grid->addWidget(
        toolButton(date_group, "DateTimeSyncBtn", QStringLiteral(">>"), ":/clockicon.png"), 0, 4);
    date_grid->addWidget(
        named(new QLabel(QStringLiteral("Часовой пояс:"), date_group), "TimeZoneLabel"), 1, 0);
    timeZoneCombo = named(new QComboBox(date_group), "TimeZoneCombo");
    timeZoneCombo->setEditable(true);
    timeZoneCombo->setInsertPolicy(QComboBox::NoInsert);
    date_grid->addWidget(timeZoneCombo, 1, 1, 1, 3);
    date_grid->addWidget(
        toolButton(date_group, "TimeZoneSyncBtn", QStringLiteral(">>"), ":/clockicon.png"), 1, 4);
    normalWeight(date_group);

    QGroupBox* lan_group = group(this, "LANGroup", QStringLiteral("LAN"));
    auto* lan_grid = new QGridLayout(lan_group);
    lanIpEdit = row(lan_grid, 0, "LANIPLabel", QStringLiteral("IP-адрес:"), "LANIPEdit");
    lanPortEdit = row(lan_grid, 1, "PortLabel", QStringLiteral("Порт:"), "LANPortEdit");
    lanMaskEdit = row(lan_grid, 2, "LANMaskLabel", QStringLiteral("Маска подсети:"), "LANMaskEdit");
    lanGateEdit = row(lan_grid, 3, "LANGateLabel", QStringLiteral("Адрес шлюза:"), "LANGateEdit");
    lanDnsEdit = row(lan_grid, 4, "LANDNSlabel", QStringLiteral("Адрес DNS:"), "LANDNSEdit");
    normalWeight(lan_group);

    // Shown for completeness; nothing fills, reads or sends it.
    QGroupBox* serial_group =
        group(this, "SerialPortGroup", QStringLiteral("Последовательный порт (RS-282/RS-485)"));
    serial_group->setEnabled(false);
    auto* serial_grid = new QGridLayout(serial_group);
    serial_grid->addWidget(
        named(new QLabel(QStringLiteral("Скорость (бит/с):"), serial_group), "RateLabel"), 0, 0);
    serial_grid->addWidget(named(new QComboBox(serial_group), "RateCombo"), 0, 1);
    serial_grid->addWidget(
        named(new QLabel(QStringLiteral("Адрес счётчика первой камеры:"), serial_group),
              "Cam1AddrLabel"),
        1, 0);
    serial_grid->addWidget(named(new QSpinBox(serial_group), "Cam1AddrSpin"), 1, 1);
    serial_grid->addWidget(
        named(new QLabel(QStringLiteral("Адрес счётчика второй камеры:"), serial_group),
              "Cam2AddrLabel"),
        2, 0);
    serial_grid->addWidget(named(new QSpinBox(serial_group), "Cam2AddrSpin"), 2, 1);
    serial_grid->addWidget(
        named(new QLabel(QStringLiteral("Протокол:"), serial_group), "ProtocolLabel"), 3, 0);
    serial_grid->addWidget(named(new QComboBox(serial_group), "ProtocolCombo"), 3, 1);
    normalWeight(serial_group);

    QGroupBox* srv_group = group(this, "groupBox", QStringLiteral("Параметры сервера"));
    auto* srv_grid = new QGridLayout(srv_group);
    srvIpEdit = row(srv_grid, 0, "SrvIpLabel", QStringLiteral("IP-адрес:"), "SrvIPEdit");
    srvPortEdit = row(srv_grid, 1, "PortLabel_2", QStringLiteral("Порт:"), "SrvPortEdit");
    normalWeight(srv_group);

    auto* apply = named(new QPushButton(QStringLiteral("Применить"), this), "ApplyBtn");
    auto* cancel = named(new QPushButton(QStringLiteral("Отмена"), this), "CancelBtn");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(date_group);
    layout->addWidget(lan_group);
    layout->addWidget(serial_group);
    layout->addWidget(srv_group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int BlockSysSettingsForm::LocalOffsetMinutes()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime local_fields(now.date(), now.time(), Qt::UTC);
    const QDateTime utc = now.toUTC();
    const QDateTime utc_fields(utc.date(), utc.time(), Qt::UTC);
    return int(utc_fields.secsTo(local_fields) / 60);
}

void BlockSysSettingsForm::ShowAddresses(const CounterProfile& p)
{
    // A field the operator has typed into keeps the entry.
    auto show = [](QLineEdit* edit, const QString& text) {
        if (!edit->isModified())
            edit->setText(text);
    };
    auto ip = [](uint32_t v) { return QString::fromStdString(cntsys::IpToText(v)); };
    show(lanIpEdit, ip(p.lan.ip));
    show(lanMaskEdit, ip(p.lan.mask));
    show(lanGateEdit, ip(p.lan.gate));
    show(lanDnsEdit, ip(p.lan.dns));
    show(srvIpEdit, ip(p.srv.ip));
    show(lanPortEdit, QString::number(p.lan.port));
    show(srvPortEdit, QString::number(p.srv.port));
}

void BlockSysSettingsForm::ShowTimeZone(int16_t zone)
{
    settingZone = true;
    const auto it = timeZones.find(zone);
    if (it != timeZones.end())
        timeZoneCombo->setCurrentIndex(int(std::distance(timeZones.begin(), it)));
    else
        timeZoneCombo->setEditText(QString::fromStdString(cntsys::TimeZoneToText(zone)));
    settingZone = false;
}

bool BlockSysSettingsForm::ChosenZone(int16_t& zone) const
{
    const QString text = timeZoneCombo->currentText();
    for (const auto& entry : timeZones) {
        if (entry.second == text) {
            zone = entry.first;
            return true;
        }
    }
    return cntsys::TextToTimeZone(text.toStdString(), zone);
}

void BlockSysSettingsForm::ShowMoment(uint64_t utc)
{
    shownUtc = utc;
    TimeParams t;
    t.date_time = utc;
    // A zone half typed leaves the edits as they are.
    if (operatorEdited || !ChosenZone(t.time_zone))
        return;
    const QDateTime shown = t.ToUnitDateTime();
    showing = true;
    dateEdit->setDate(shown.date());
    timeEdit->setTime(shown.time());
    showing = false;
}

void BlockSysSettingsForm::ShowParams(CounterProfile p, bool disable_sync)
{
    ShowAddresses(p);
    ShowTimeParams(p.time, disable_sync);
}

void BlockSysSettingsForm::ShowTimeParams(TimeParams p, bool disable_sync)
{
    if (!zoneChosen)
        ShowTimeZone(p.time_zone);
    ShowDateTime(p, disable_sync);
}

void BlockSysSettingsForm::ShowDateTime(TimeParams p, bool disable_sync)
{
    // The unit's moment, in the zone chosen in the combo.
    ShowMoment(p.date_time);
    if (disable_sync)
        emit eDisableSync();
}

void BlockSysSettingsForm::sDateTimeChanged()
{
    if (showing)
        return;
    operatorEdited = true;
    emit eDisableSync();
}

void BlockSysSettingsForm::sDateTimeBtnSyncPressed()
{
    const QDateTime now = QDateTime::currentDateTime();
    dateEdit->setDate(now.date());
    timeEdit->setTime(now.time());
}

void BlockSysSettingsForm::sTimeZoneSyncBtnPressed()
{
    ShowTimeZone(static_cast<int16_t>(LocalOffsetMinutes()));
    zoneChosen = true;
}

void BlockSysSettingsForm::sCalendarBtnPressed()
{
    auto* calendar = new CalendarForm(this);
    connect(calendar, &CalendarForm::eClose, this, &BlockSysSettingsForm::sCalendarFormExit);
    calendar->SetDate(dateEdit->date());
    calendar->exec();
    delete calendar;
}

void BlockSysSettingsForm::sCalendarFormExit(bool ok_pressed, QDate date)
{
    if (ok_pressed)
        dateEdit->setDate(date);
}

void BlockSysSettingsForm::sApplyBtnPressed()
{
    CounterProfile p = profile;
    auto refuse = [this](const char* text) {
        warn(this, QString::fromUtf8(text));
        return;
    };

    const auto ip = [](const QLineEdit* edit, uint32_t& value) {
        return cntsys::TextToIp(edit->text().toStdString(), value);
    };
    const auto port = [](const QLineEdit* edit, uint16_t& value) {
        return cntsys::TextToPort(edit->text().toStdString(), value);
    };
    cntsys::LANParams& lan = p.lan;
    // Besides the texts, what the unit would take but could not be reached
    // at: no address, the broadcast one, a mask with gaps, a gateway outside
    // the subnet (0.0.0.0 is none) and port 0.
    if (!ChosenZone(p.time.time_zone))
        return refuse("Неверное значение часового пояса");
    if (!ip(lanIpEdit, lan.ip))
        return refuse("Неверное значение ip-адреса LAN");
    if (lan.ip == 0 || lan.ip == 0xFFFFFFFF)
        return refuse("ip-адрес LAN не может быть 0.0.0.0 или 255.255.255.255");
    if (!ip(lanMaskEdit, lan.mask))
        return refuse("Неверное значение маски подсети LAN");
    if ((~lan.mask & (~lan.mask + 1)) != 0)
        return refuse("Неверное значение маски подсети LAN: единицы маски должны идти подряд");
    if (!ip(lanGateEdit, lan.gate))
        return refuse("Неверное значение адреса шлюза LAN");
    if (lan.gate != 0 && (lan.gate & lan.mask) != (lan.ip & lan.mask))
        return refuse("Адрес шлюза LAN не входит в подсеть устройства");
    if (!ip(lanDnsEdit, lan.dns))
        return refuse("Неверное значение адреса DNS");
    if (!port(lanPortEdit, lan.port))
        return refuse("Неверное значение номера порта LAN");
    if (lan.port == 0)
        return refuse("Номер порта LAN не может быть равен 0");
    if (!port(srvPortEdit, p.srv.port))
        return refuse("Неверное значение номера порта сервера");
    if (p.srv.port == 0)
        return refuse("Номер порта сервера не может быть равен 0");
    if (!ip(srvIpEdit, p.srv.ip))
        return refuse("Неверное значение ip-адреса сервера");

    p.time.SetFromUnitDateTime(QDateTime(dateEdit->date(), timeEdit->time(), Qt::UTC));
    profile = p;
    // A file that cannot be written is not reported.
    profile.SaveToFile(profilePath());
    emit eOK(profile);
    accept();
}

void BlockSysSettingsForm::sCancelBtnPressed()
{
    emit eCancel();
    reject();
}
