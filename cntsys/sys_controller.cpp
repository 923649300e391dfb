#include "sys_controller.h"

#include "ack_message.h"
#include "block_sys_settings_form.h"
#include "ko_app_data.h"
#include "ko_tcp_client.h"
#include "text_forms.h"

#include <QDateTime>
#include <QFile>
#include <QRunnable>
#include <QThread>
#include <QThreadPool>

#include <chrono>

namespace cntsys {

namespace {

using Clock = std::chrono::steady_clock;

// Qt's thread pool hands a task to its thread under its own lock, which
// ThreadSanitizer cannot see (the system's Qt is not instrumented). A static
// lock, held while a task is made and started and taken by the task before it
// reads its own members, makes the hand-over visible.
std::mutex poolHandover;

class PoolTask : public QRunnable
{
public:
    explicit PoolTask(std::function<void()> fn) : fn(std::move(fn)) {}
    void run() override
    {
        {
            std::lock_guard<std::mutex> handover(poolHandover);
        }
        fn();
    }

private:
    std::function<void()> fn;
};

QString ipPort(const LANParams& lan)
{
    return QString::fromStdString(IpToText(lan.ip)) + QLatin1Char(':') + QString::number(lan.port);
}

} // namespace

SysController::SysController(QObject* parent) : SysController(parent, Timing()) {}

SysController::SysController(QObject* parent, const Timing& timing_)
    : QObject(parent), timing(timing_)
{
    CounterProfile::RegisterMetaTypes();
    qRegisterMetaType<std::wstring>("std::wstring");
}

SysController::~SysController()
{
    syncOn = false;
    {
        std::lock_guard<std::mutex> lock(stop->mutex);
        stop->stopping = true;
    }
    stop->wake.notify_all();
    {
        std::lock_guard<std::mutex> lock(tableMutex);
        closing = true;
    }
    tableWake.notify_all();
    // Every wait of a task now ends at once, so this does not block for long.
    std::unique_lock<std::mutex> lock(taskMutex);
    taskDone.wait(lock, [this] { return runningTasks == 0; });
}

void SysController::SetLink(KoTcpClient* link_)
{
    if (link)
        link->disconnect(this);
    disconnect(link);
    link = link_;
    hasLink = link_ != nullptr;
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
    if (!widget)
        return;
    // The question is asked on the GUI thread (see OnGui), so the call is direct.
    connect(this, SIGNAL(eShowWindow(std::wstring, std::wstring, bool*)), widget,
            SLOT(sShowQuestion(std::wstring, std::wstring, bool*)), Qt::DirectConnection);
}

CounterProfile SysController::LastRead() const
{
    std::lock_guard<std::mutex> lock(profileMutex);
    return lastRead;
}

CounterProfile SysController::Applied() const
{
    std::lock_guard<std::mutex> lock(profileMutex);
    return applied;
}

bool SysController::Busy()
{
    std::lock_guard<std::mutex> lock(taskMutex);
    return runningTasks > 0;
}

void SysController::ShowSettingsDialog(QWidget* parent)
{
    auto* form = new BlockSysSettingsForm(parent);
    connect(form, &BlockSysSettingsForm::eOK, this, &SysController::sSysSettingsDialogOK);
    connect(this, qOverload<CounterProfile, bool>(&SysController::eShowParams), form,
            qOverload<CounterProfile, bool>(&BlockSysSettingsForm::ShowParams));
    // The refresh moves the clock, never the zone the operator may have chosen.
    connect(this, &SysController::eShowTimePars, form,
            qOverload<TimeParams, bool>(&BlockSysSettingsForm::ShowDateTime));
    connect(form, &BlockSysSettingsForm::eDisableSync, this, &SysController::DisableSync);

    StartTask([this] {
        CounterProfile profile = LastRead();
        ReadParams(profile, timing.readMs, true);
        std::lock_guard<std::mutex> lock(profileMutex);
        lastRead = profile;
    });
    EnableSync();
    form->exec();
    DisableSync();
    delete form;
}

void SysController::sSysSettingsDialogOK(CounterProfile profile)
{
    {
        std::lock_guard<std::mutex> lock(profileMutex);
        applying = profile;
    }
    StartTask([this, profile] { ApplyParams(profile); });
}

void SysController::EnableSync()
{
    if (syncOn.exchange(true))
        return;
    const int generation = ++syncGeneration;
    StartTask([this, generation] { SyncLoop(generation); });
}

void SysController::DisableSync()
{
    {
        // Under the lock, so a refresh between its check and its wait sees it.
        std::lock_guard<std::mutex> lock(stop->mutex);
        syncOn = false;
    }
    stop->wake.notify_all();
}

void SysController::syncfunc()
{
    SyncLoop(syncGeneration);
}

bool SysController::SyncRunning(int generation) const
{
    return syncOn && syncGeneration == generation;
}

void SysController::SyncLoop(int generation)
{
    while (SyncRunning(generation) && !Stopping()) {
        // A read in progress asks for the time itself, and a second wait for
        // its answer would take it over: the refresh skips that turn.
        if (hasLink && readMutex.try_lock()) {
            TimeParams time;
            const bool got = SendAndWait(45, nullptr, 46, &time, timing.syncPeriodMs / 3, false);
            readMutex.unlock();
            if (got)
                emit eShowTimePars(time, false);
        }
        if (!SyncRunning(generation))
            return;
        // Woken early when the sync is turned off or the controller goes.
        std::unique_lock<std::mutex> lock(stop->mutex);
        stop->wake.wait_for(lock, std::chrono::milliseconds(timing.syncPeriodMs),
                            [&] { return stop->stopping || !SyncRunning(generation); });
    }
}

bool SysController::ReadParams(CounterProfile& profile, int timeout_ms, bool report)
{
    std::lock_guard<std::mutex> lock(readMutex);
    if (!hasLink || Stopping())
        return false;
    if (!LinkConnected()) {
        if (report)
            Show(QStringLiteral("Нет связи с устройством"));
        return false;
    }
    if (report)
        Show(QStringLiteral("Получение параметров"));

    TimeParams time;
    if (!SendAndWait(45, nullptr, 46, &time, timeout_ms, false)) {
        if (report)
            Show(QStringLiteral("Дата и время не получены"));
        return false;
    }
    profile.time = time;
    LANParams lan;
    if (!SendAndWait(49, nullptr, 50, &lan, timeout_ms, false)) {
        if (report)
            Show(QStringLiteral("Настройки LAN не получены"));
        return false;
    }
    profile.lan = lan;
    SrvParams srv;
    if (!SendAndWait(53, nullptr, 54, &srv, timeout_ms, false)) {
        if (report)
            Show(QStringLiteral("Настройки сервера не получены"));
        return false;
    }
    profile.srv = srv;

    if (report)
        Show(QStringLiteral("Параметры получены"));
    emit eShowParams(profile, false);
    return true;
}

bool SysController::ApplyParams(CounterProfile profile)
{
    std::lock_guard<std::mutex> lock(applyMutex);
    if (!hasLink || Stopping())
        return false;
    if (!LinkConnected()) {
        Show(QStringLiteral("Нет связи с устройством"));
        return false;
    }
    if (!Ask(L"Применение настроек",
             L"Применить введенные настройки? Устройство будет перезагружено автоматически"))
        return false;

    AckMessage ack;
    Show(QStringLiteral("Установка параметров LAN"));
    if (!SendAndWait(47, &profile.lan, 48, &ack, timing.applyMs, false) || ack.status != 0) {
        Show(QStringLiteral("Ошибка установки параметров LAN"));
        return false;
    }
    LANParams before;
    {
        std::lock_guard<std::mutex> profiles(profileMutex);
        before = lastRead.lan;
        applied.lan = profile.lan;
    }
    AppendLog(before, profile.lan);
    Show(QStringLiteral("Параметры LAN установлены"));

    Show(QStringLiteral("Установка параметров сервера"));
    if (!SendAndWait(51, &profile.srv, 52, &ack, timing.applyMs, false) || ack.status != 0) {
        Show(QStringLiteral("Ошибка установки параметров сервера"));
        return false;
    }
    {
        std::lock_guard<std::mutex> profiles(profileMutex);
        applied.srv = profile.srv;
    }
    Show(QStringLiteral("Параметры сервера установлены"));

    Show(QStringLiteral("Установка даты и времени"));
    if (!SendAndWait(43, &profile.time, 44, &ack, timing.applyMs, false) || ack.status != 0) {
        Show(QStringLiteral("Ошибка установки даты и времени"));
        return false;
    }
    {
        std::lock_guard<std::mutex> profiles(profileMutex);
        applied.time = profile.time;
    }
    Show(QStringLiteral("Дата и время установлены"));

    // The device streams pictures again once it has taken the settings.
    for (int i = 0; i < timing.pictures; ++i) {
        QByteArray picture;
        if (!WaitReply(1, picture, timing.pictureMs)) {
            Show(QStringLiteral("Устройство не отвечает"));
            return false;
        }
    }

    // Waited for before the command goes, so a quick answer is not missed.
    const quint64 ticket = Register(40);
    bool sent = false;
    OnGui([this] { return Reboot(); }, sent);
    QByteArray none;
    if (!Wait(40, ticket, none, timing.rebootAckMs)) {
        Show(QStringLiteral("Устройство не перезагрузилось"));
        return false;
    }
    emit eReconnect(QString::fromStdString(IpToText(profile.lan.ip)), profile.lan.port);
    return true;
}

bool SysController::SendAndWait(uint code, const CntObj* payload, uint reply_code, CntObj* reply,
                                int timeout_ms, bool report)
{
    if (!hasLink)
        return false;
    std::vector<uint8_t> bytes = {uint8_t(code >> 24), uint8_t(code >> 16), uint8_t(code >> 8),
                                  uint8_t(code)};
    if (payload)
        payload->Serialize(bytes, false);

    const quint64 ticket = Register(reply_code);
    if (!Send(QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())))) {
        Forget(reply_code, ticket);
        if (report)
            Show(QStringLiteral("Устройство не подключено"));
        return false;
    }
    QByteArray data;
    if (!Wait(reply_code, ticket, data, timeout_ms)) {
        if (report)
            Show(QStringLiteral("Устройство не отвечает"));
        return false;
    }
    if (reply && !reply->Deserialize(reinterpret_cast<const uint8_t*>(data.constData()),
                                     size_t(data.size()), 0)) {
        if (report)
            Show(QStringLiteral("Неожиданный ответ устройства"));
        return false;
    }
    return true;
}

bool SysController::WaitReply(uint code, QByteArray& data, int timeout_ms)
{
    return Wait(code, Register(code), data, timeout_ms);
}

quint64 SysController::Register(uint code)
{
    std::lock_guard<std::mutex> lock(tableMutex);
    // An earlier waiter on this code is no longer served and ends at its timeout.
    Waiter& waiter = table[code];
    waiter.payload.clear();
    waiter.received = false;
    waiter.ticket = ++nextTicket;
    return waiter.ticket;
}

void SysController::Forget(uint code, quint64 ticket)
{
    std::lock_guard<std::mutex> lock(tableMutex);
    const auto it = table.find(code);
    if (it != table.end() && it->second.ticket == ticket)
        table.erase(it);
}

bool SysController::Wait(uint code, quint64 ticket, QByteArray& data, int timeout_ms)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::unique_lock<std::mutex> lock(tableMutex);
    for (;;) {
        const auto it = table.find(code);
        const bool mine = it != table.end() && it->second.ticket == ticket;
        if (mine && it->second.received) {
            data = it->second.payload;
            // A late reply after this one finds nobody waiting and is dropped.
            table.erase(it);
            return true;
        }
        if (closing || (timeout_ms >= 0 && Clock::now() >= deadline)) {
            if (mine)
                table.erase(it);
            return false;
        }
        if (timeout_ms < 0)
            tableWake.wait(lock);
        else
            tableWake.wait_until(lock, deadline);
    }
}

void SysController::sMessageReceived(uint code, QByteArray data)
{
    {
        std::lock_guard<std::mutex> lock(tableMutex);
        const auto it = table.find(code);
        if (it == table.end() || closing)
            return;
        it->second.payload = data;
        it->second.received = true;
    }
    tableWake.notify_all();
}

bool SysController::Stopping()
{
    std::lock_guard<std::mutex> lock(stop->mutex);
    return stop->stopping;
}

bool SysController::OnGui(std::function<bool()> fn, bool& result)
{
    if (QThread::currentThread() == thread()) {
        if (Stopping())
            return false;
        result = fn();
        return true;
    }
    struct Call
    {
        bool done = false;
        bool result = false;
    };
    const auto call = std::make_shared<Call>();
    const std::shared_ptr<Stop> s = stop;
    std::unique_lock<std::mutex> lock(s->mutex);
    if (s->stopping)
        return false;
    // Dropped unrun if this object goes first; s and call outlive it.
    QMetaObject::invokeMethod(
        this,
        [s, call, fn] {
            const bool r = fn();
            {
                std::lock_guard<std::mutex> done(s->mutex);
                call->result = r;
                call->done = true;
            }
            s->wake.notify_all();
        },
        Qt::QueuedConnection);
    s->wake.wait(lock, [&] { return call->done || s->stopping; });
    if (!call->done)
        return false;
    result = call->result;
    return true;
}

bool SysController::Send(const QByteArray& bytes)
{
    bool sent = false;
    return OnGui([this, bytes] { return link && link->SendMessage(bytes); }, sent) && sent;
}

bool SysController::LinkConnected()
{
    bool connected = false;
    return OnGui([this] { return link && link->TestConnected(); }, connected) && connected;
}

bool SysController::Ask(const std::wstring& title, const std::wstring& text)
{
    // The answer lives as long as the call, which may end after this task.
    const auto answer = std::make_shared<bool>(false);
    bool yes = false;
    return OnGui(
               [this, title, text, answer] {
                   emit eShowWindow(title, text, answer.get());
                   return *answer;
               },
               yes) &&
           yes;
}

void SysController::Show(const QString& text)
{
    emit eShowText(text, 0);
}

void SysController::StartTask(std::function<void()> task)
{
    std::lock_guard<std::mutex> lock(taskMutex);
    if (Stopping())
        return;
    ++runningTasks;
    // Made and handed to the pool under the hand-over lock, which the task
    // takes before it reads anything of itself.
    std::lock_guard<std::mutex> handover(poolHandover);
    QThreadPool::globalInstance()->start(new PoolTask([this, task = std::move(task)]() mutable {
        {
            std::function<void()> run = std::move(task);
            run();
        }
        // Counted down under the lock: once the destructor sees no task
        // running, none touches the controller any more.
        std::lock_guard<std::mutex> done(taskMutex);
        --runningTasks;
        taskDone.notify_all();
    }));
}

void SysController::AppendLog(const LANParams& from, const LANParams& to)
{
    const QString folder = KoAppData::Folder();
    if (folder.isEmpty())
        return;
    QFile log(folder + QStringLiteral("Log.txt"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd-HH:mm")) +
                         QStringLiteral("      ") + ipPort(from) + QStringLiteral(" -> ") +
                         ipPort(to) + QLatin1Char('\n');
    log.write(line.toUtf8());
}

} // namespace cntsys
