#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <string>

class KoTcpClient;
class QStatusBar;
class QWidget;

namespace cntsys {

// Runs the exchange with the counter's system unit on pool threads and
// reports its progress in the status bar.
class SysController : public QObject
{
    Q_OBJECT

public:
    explicit SysController(QObject* parent = nullptr);
    ~SysController() override;

    void SetLink(KoTcpClient* link);
    void SetStatusBar(QStatusBar* bar);
    void SetParentWidget(QWidget* widget);
    // Opens the system settings form modally over parent.
    void ShowSettingsDialog(QWidget* parent);

signals:
    bool Reboot();
    void eReconnect(QString host_name, ushort port);
    void eShowText(QString message, int timeout);
    void eShowWindow(std::wstring title, std::wstring text, bool* ok);

public slots:
    void sMessageReceived(uint code, QByteArray data);
};

} // namespace cntsys
