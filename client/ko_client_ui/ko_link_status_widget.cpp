#include "ko_link_status_widget.h"

#include "ko_tcp_client.h"

#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int LampSize = 10;

QPixmap Lamp(const QColor& colour)
{
    QPixmap pixmap(LampSize, LampSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(140));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, LampSize - 1, LampSize - 1));
    return pixmap;
}

KoLinkStatusWidget::State FromSocket(QAbstractSocket::SocketState socket_state)
{
    switch (socket_state) {
    case QAbstractSocket::ConnectedState:
        return KoLinkStatusWidget::State::Connected;
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
    case QAbstractSocket::BoundState:
        return KoLinkStatusWidget::State::Connecting;
    default:
        return KoLinkStatusWidget::State::NoConnection;
    }
}

} // namespace

KoLinkStatusWidget::KoLinkStatusWidget(QWidget* parent) : QWidget(parent)
{
    lamp = new QLabel(this);
    stateLabel = new QLabel(this);
    deviceLabel = new QLabel(this);
    deviceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->addWidget(lamp);
    row->addWidget(stateLabel);
    row->addWidget(deviceLabel);
    SetState(State::NoConnection);
    ShowDevice();
}

void KoLinkStatusWidget::Watch(KoTcpClient* link)
{
    SetAddress(link->HostName(), link->Port());
    SetState(FromSocket(link->State()));
    connect(link, &KoTcpClient::eTargetChanged, this, &KoLinkStatusWidget::SetAddress);
    connect(link, &KoTcpClient::eStateChanged, this,
            [this](QAbstractSocket::SocketState s) { SetState(FromSocket(s)); });
}

void KoLinkStatusWidget::SetAddress(const QString& host_name, ushort port_)
{
    hostName = host_name;
    port = port_;
    ShowDevice();
}

void KoLinkStatusWidget::SetDeviceName(const QString& name)
{
    deviceName = name;
    ShowDevice();
}

void KoLinkStatusWidget::SetState(State state_)
{
    state = state_;
    switch (state) {
    case State::Connected:
        lamp->setPixmap(Lamp(QColor(0x2e, 0x9d, 0x3a)));
        stateLabel->setText(tr("Connected"));
        break;
    case State::Connecting:
        lamp->setPixmap(Lamp(QColor(0xe0, 0xa0, 0x00)));
        stateLabel->setText(tr("Connecting..."));
        break;
    case State::NoConnection:
        lamp->setPixmap(Lamp(QColor(0xc6, 0x28, 0x28)));
        stateLabel->setText(tr("Disconnected"));
        break;
    }
}

void KoLinkStatusWidget::SetField(const QString& key, const QString& text, const QString& tool_tip)
{
    QLabel* label = nullptr;
    for (const auto& field : fields) {
        if (field.first == key)
            label = field.second;
    }
    if (!label) {
        label = new QLabel(this);
        row->addWidget(label);
        fields.emplace_back(key, label);
    }
    label->setText(text);
    label->setToolTip(tool_tip);
    label->setVisible(!text.isEmpty());
}

QString KoLinkStatusWidget::Text() const
{
    QStringList parts{stateLabel->text(), deviceLabel->text()};
    for (const auto& field : fields) {
        if (!field.second->isHidden())
            parts << field.second->text();
    }
    return parts.join(QLatin1Char(' '));
}

QString KoLinkStatusWidget::AddressText(const QString& host_name, ushort port_)
{
    // The link connects to the local host when it has no name.
    const QString host =
        host_name.isEmpty() ? QHostAddress(QHostAddress::LocalHost).toString() : host_name;
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(shown).arg(port_);
}

void KoLinkStatusWidget::ShowDevice()
{
    const QString address = AddressText(hostName, port);
    deviceLabel->setText(deviceName.isEmpty() ? address
                                              : QStringLiteral("%1 (%2)").arg(deviceName, address));
}
