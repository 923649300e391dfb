#include "ko_client_mult_ui.h"

KoClientMultUi::KoClientMultUi(QWidget* parent) : QWidget(parent) {}

KoTcpClient* KoClientMultUi::Link() const
{
    return nullptr;
}

void KoClientMultUi::sSendStatReq(int, const KoStatisticsData&, const KoStatisticsData&,
                                  const STATISTICS_TYPE, const STATISTICS_ID)
{
}

void KoClientMultUi::sConnected() {}

void KoClientMultUi::sConnectedAns(int) {}

void KoClientMultUi::sSendOptions(int, ClientOptions) {}

void KoClientMultUi::sSwUpdate(QByteArray) {}

void KoClientMultUi::sSendModemSettings(QStringList) {}

void KoClientMultUi::sSendServerIpSettings(QStringList) {}

void KoClientMultUi::sReboot() {}
