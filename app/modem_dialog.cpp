#include "modem_dialog.h"

#include <QVBoxLayout>

ModemDialog::ModemDialog(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    content = new KoApnSettings(this);
    layout->addWidget(content);
    setWindowTitle(tr("Modem settings dialog"));
    connect(content, &KoApnSettings::eOkClicked, this, &ModemDialog::eOkClicked);
}

void ModemDialog::SetSender(KoApnSettings::Sender send)
{
    content->SetSender(std::move(send));
}
