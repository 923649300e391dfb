#include "network_setting_dialog.h"

#include "ko_network_settings.h"

#include <QVBoxLayout>

NetworkSettingDialog::NetworkSettingDialog(QWidget* parent) : QDialog(parent)
{
    content = new KoNetworkSettings(this);
    connect(content, &KoNetworkSettings::eOkClicked, this, &NetworkSettingDialog::eOkClicked);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);
    setWindowTitle(tr("Lan options"));
}
