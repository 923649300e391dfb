#include "modem_dialog.h"

#include "settings/ko_apn_settings.h"

#include <QVBoxLayout>

ModemDialog::ModemDialog(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* settings = new KoApnSettings(this);
    layout->addWidget(settings);
    setWindowTitle(tr("Modem settings dialog"));
    connect(settings, &KoApnSettings::eOkClicked, this, &ModemDialog::eOkClicked);
}
