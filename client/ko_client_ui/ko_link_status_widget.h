#pragma once

#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

class KoTcpClient;
class QHBoxLayout;
class QLabel;

// The device link's state in a place of its own (the permanent part of the
// main window's status bar), so that transient texts never hide it: a lamp,
// the state ("Connecting...", "Connected", "Disconnected") and the device,
// by name when one is known and always by address. Further facts about the
// link (a running capture, ...) are fields after these, in the order in which
// they were first set.
//
//     auto* status = new KoLinkStatusWidget;
//     statusBar()->addPermanentWidget(status);
//     status->Watch(link);
//     status->SetField("capture", tr("REC %0 MiB").arg(size));
class KoLinkStatusWidget : public QWidget
{
    Q_OBJECT

public:
    enum class State
    {
        NoConnection,
        Connecting,
        Connected,
    };

    explicit KoLinkStatusWidget(QWidget* parent = nullptr);

    // Follows a link from now on: its target and its socket's state.
    void Watch(KoTcpClient* link);

    void SetAddress(const QString& host_name, ushort port);
    // Shown before the address; empty shows the address alone.
    void SetDeviceName(const QString& name);
    void SetState(State state);
    State CurrentState() const { return state; }
    // An extra fact after the device; empty text hides it, the key keeps its place.
    void SetField(const QString& key, const QString& text, const QString& tool_tip = QString());

    // Everything shown, left to right, separated by blanks (tests, logs).
    QString Text() const;
    // "host:port", "[v6 address]:port"; the local host for an empty name.
    static QString AddressText(const QString& host_name, ushort port);

private:
    void ShowDevice();

    State state = State::NoConnection;
    QString hostName;
    ushort port = 0;
    QString deviceName;

    QLabel* lamp = nullptr;
    QLabel* stateLabel = nullptr;
    QLabel* deviceLabel = nullptr;
    QHBoxLayout* row = nullptr;
    std::vector<std::pair<QString, QLabel*>> fields;
};
