#include "sys_controller.h"

#include "ack_message.h"
#include "block_sys_settings_form.h"
#include "ko_app_data.h"
#include "ko_settings_writer.h"
#include "ko_tcp_client.h"
#include "text_forms.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>

namespace cntsys {

namespace {

bool Read(const QByteArray& data, CntObj& record)
{
    return record.Deserialize(reinterpret_cast<const uint8_t*>(data.constData()),
                              size_t(data.size()), 0);
}

bool Accepted(const QByteArray& data)
{
    AckMessage ack;
    return Read(data, ack) && ack.status == 0;
}

QString IpText(uint32_t ip)
{
    return QString::fromStdString(IpToText(ip));
}

} // namespace

SysController::SysController(QObject* parent) : SysController(parent, Timing()) {}

SysController::SysController(QObject* parent, const Timing& timing_)
    : QObject(parent), timing(timing_), read([this](const char* t) { Show(t); }),
      apply([this](const char* t) { Show(t); }), clock([this](const char* t) { Show(t); })
{
    CounterProfile::RegisterMetaTypes();
    connect(&syncTimer, &QTimer::timeout, this, &SysController::syncfunc);
}

void SysController::SetLink(KoTcpClient* link_)
{
    // Only the old link's connections go: a null pointer here would mean all.
    if (link) {
        link->disconnect(this);
        disconnect(link);
    }
    link = link_;
    if (!link_)
        return;
    connect(link_, &KoTcpClient::eMessageReceived, this, &SysController::sMessageReceived);
    connect(this, &SysController::Reboot, link_, &KoTcpClient::SendReboot);
    connect(this, qOverload<QString, ushort>(&SysController::eReconnect), link_,
            &KoTcpClient::Reconnect);
}

void SysController::SetStatusBar(QStatusBar* bar)
{
    statusBar = bar;
    if (bar)
        connect(this, &SysController::eShowText, bar, &QStatusBar::showMessage);
}

void SysController::SetParentWidget(QWidget* widget)
{
    parentWidget = widget;
}

void SysController::ShowSettingsDialog(QWidget* parent)
{
    if (form) {
        form->activateWindow();
        return;
    }
    form = new BlockSysSettingsForm(parent ? parent : parentWidget.data());
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &BlockSysSettingsForm::eOK, this, &SysController::sSysSettingsDialogOK);
    connect(this, qOverload<CounterProfile, bool>(&SysController::eShowParams), form,
            qOverload<CounterProfile, bool>(&BlockSysSettingsForm::ShowParams));
    // The refresh moves the clock, never the zone the operator may have chosen.
    connect(this, &SysController::eShowTimePars, form,
            qOverload<TimeParams, bool>(&BlockSysSettingsForm::ShowDateTime));
    connect(form, &BlockSysSettingsForm::eDisableSync, this, &SysController::DisableSync);
    connect(form, &QDialog::finished, this, &SysController::DisableSync);
    form->open();
    ReadParams(timing.readMs, true);
    EnableSync();
}

void SysController::ReadParams(int timeout_ms, bool report)
{
    const auto text = [report](const char* t) { return report ? t : nullptr; };
    if (!link || !link->TestConnected()) {
        Show(text("Нет связи с устройством"));
        return emit eParamsRead(false);
    }
    Show(text("Получение параметров"));
    const auto p = std::make_shared<CounterProfile>(lastRead);
    const auto into = [p](auto field) {
        return [p, field](const QByteArray& data) { return Read(data, (*p).*field); };
    };
    read.Start({{Request(45), 46, timeout_ms, nullptr, nullptr, text("Дата и время не получены"),
                 into(&CounterProfile::time)},
                {Request(49), 50, timeout_ms, nullptr, nullptr, text("Настройки LAN не получены"),
                 into(&CounterProfile::lan)},
                {Request(53), 54, timeout_ms, nullptr, nullptr,
                 text("Настройки сервера не получены"), into(&CounterProfile::srv)}},
               [this, p, text](bool ok) {
                   if (ok) {
                       lastRead = *p;
                       Show(text("Параметры получены"));
                       emit eShowParams(lastRead, false);
                   }
                   emit eParamsRead(ok);
               });
}

void SysController::ApplyParams(CounterProfile profile)
{
    Apply(profile, false);
}

void SysController::sSysSettingsDialogOK(CounterProfile profile)
{
    // Asked once the form has closed.
    QTimer::singleShot(0, this,
                       [this, profile, clock_runs = syncOn] { Apply(profile, clock_runs); });
}

void SysController::Apply(const CounterProfile& p, bool clock_runs)
{
    if (!link || !link->TestConnected()) {
        Show("Нет связи с устройством");
        return emit eParamsApplied(false);
    }
    QElapsedTimer asked;
    asked.start();
    bool yes = false;
    const QPointer<SysController> alive(this);
    emit eShowWindow(L"Применение настроек",
                     L"Применить введенные настройки? Устройство будет перезагружено автоматически",
                     &yes);
    if (!alive)
        return;
    if (!yes)
        return emit eParamsApplied(false);

    // The clock is read as it goes: the moment shown plus the time since.
    const auto sendTime = [this, p, clock_runs, asked] {
        TimeParams time = p.time;
        if (clock_runs)
            time.date_time += quint64((asked.elapsed() + 500) / 1000);
        return Request(43, &time)();
    };
    std::vector<SysExchange::Step> steps = {
        {Request(47, &p.lan), 48, timing.applyMs, "Установка параметров LAN",
         "Параметры LAN установлены", "Ошибка установки параметров LAN",
         [this, p](const QByteArray& data) {
             return Accepted(data) && (AppendLog(lastRead.lan, p.lan), true);
         }},
        {Request(51, &p.srv), 52, timing.applyMs, "Установка параметров сервера",
         "Параметры сервера установлены", "Ошибка установки параметров сервера", Accepted},
        {sendTime, 44, timing.applyMs, "Установка даты и времени", "Дата и время установлены",
         "Ошибка установки даты и времени", Accepted}};
    // The device streams pictures again once it has taken the settings.
    for (int i = 0; i < timing.pictures; ++i)
        steps.push_back({nullptr, 1, timing.pictureMs, nullptr, nullptr, "Устройство не отвечает"});
    steps.push_back({[this] { return Reboot(); }, 40, timing.rebootAckMs, nullptr, nullptr,
                     "Устройство не перезагрузилось"});
    apply.Start(std::move(steps), [this, p](bool ok) {
        if (ok)
            Follow(p.lan);
        emit eParamsApplied(ok);
    });
}

void SysController::EnableSync()
{
    if (syncOn)
        return;
    syncOn = true;
    syncTimer.start(timing.syncPeriodMs);
}

void SysController::DisableSync()
{
    syncOn = false;
    syncTimer.stop();
    clock.Stop();
}

void SysController::syncfunc()
{
    if (!link || clock.Running())
        return;
    clock.Start({{Request(45), 46, timing.syncPeriodMs / 3, nullptr, nullptr, nullptr,
                  [this](const QByteArray& data) {
                      TimeParams time;
                      return Read(data, time) && (emit eShowTimePars(time, false), true);
                  }}},
                nullptr);
}

void SysController::sMessageReceived(uint code, QByteArray data)
{
    // The read comes first: a refresh that asks while a read waits for the
    // time leaves the first answer to the read. Anything nobody awaits, a
    // late reply included, is dropped.
    for (SysExchange* x : {&read, &apply, &clock})
        if (x->Offer(code, data))
            return;
}

std::function<bool()> SysController::Request(uint code, const CntObj* payload)
{
    // The 4-byte code, then the record's bytes.
    std::vector<uint8_t> bytes = {uint8_t(code >> 24), uint8_t(code >> 16), uint8_t(code >> 8),
                                  uint8_t(code)};
    if (payload)
        payload->Serialize(bytes, false);
    const QByteArray message(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()));
    return [this, message] { return link && link->SendMessage(message); };
}

void SysController::Follow(const LANParams& lan)
{
    // The next start finds the device at its new address too.
    KoSettingsWriter network(KoSettingsWriter::Terminator::SemicolonCrLf);
    network.AddText("HOST_NAME", IpText(lan.ip));
    network.AddNumber("PORT", lan.port);
    network.Save(KoAppData::Folder() + QStringLiteral("network.txt"));
    emit eReconnect(IpText(lan.ip), lan.port);
}

void SysController::Show(const char* text)
{
    if (text)
        emit eShowText(QString::fromUtf8(text), 0);
}

void SysController::AppendLog(const LANParams& from, const LANParams& to)
{
    const QString folder = KoAppData::Folder();
    QFile log(folder + QStringLiteral("Log.txt"));
    if (folder.isEmpty() || !log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    const auto ipPort = [](const LANParams& lan) {
        return IpText(lan.ip) + QLatin1Char(':') + QString::number(lan.port);
    };
    log.write((QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd-HH:mm      ")) +
               ipPort(from) + QStringLiteral(" -> ") + ipPort(to) + QLatin1Char('\n'))
                  .toUtf8());
}

} // namespace cntsys
