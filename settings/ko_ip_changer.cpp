#include "ko_ip_changer.h"

#include "ko_form_rows.h"
#include "ko_settings_file.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

KoIpChanger::KoIpChanger(QWidget* dialog) : QWidget(dialog), dialog(dialog)
{
    auto* layout = new QVBoxLayout(this);
    setLayout(layout);

    // The device does its own checking of the address; anything typed is sent.
    ipEdit = addRow(tr("Ip address: "), QStringLiteral("ip"));
    keyEdit = addRow(tr("Key: "), QStringLiteral("key"));

    const ko_form_rows::Buttons buttons = ko_form_rows::AddOkCancel(this, layout);
    buttons.ok->setText(tr("OK"));
    buttons.cancel->setText(tr("Cancel"));
    connect(buttons.ok, &QPushButton::clicked, this, &KoIpChanger::sOkClicked);
    connect(buttons.cancel, &QPushButton::clicked, this, &KoIpChanger::sCancelClicked);

    loadSettings();
}

QLineEdit* KoIpChanger::addRow(const QString& label, const QString& object_name)
{
    return ko_form_rows::AddEditRow(this, static_cast<QVBoxLayout*>(layout()), label, object_name);
}

void KoIpChanger::loadSettings()
{
    KoSettingsFile file;
    file.AddKey("IP");
    if (!file.Load("remote.txt"))
        return;
    const std::string& ip = file.Values["IP"];
    ipEdit->setText(ip == KoSettingsFile::DefaultValue ? QString() : QString::fromStdString(ip));
}

void KoIpChanger::sOkClicked()
{
    emit eOkClicked({ipEdit->text(), keyEdit->text()});
    if (dialog)
        dialog->close();
}

void KoIpChanger::sCancelClicked()
{
    if (dialog)
        dialog->close();
}
