#include "ko_ip_changer.h"

#include "ko_address_check.h"
#include "ko_form_rows.h"
#include "ko_settings_file.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

KoIpChanger::KoIpChanger(QWidget* dialog) : QWidget(dialog), dialog(dialog)
{
    auto* layout = new QVBoxLayout(this);
    setLayout(layout);
    rows = new QGridLayout();
    layout->addLayout(rows);

    ipEdit = addRow(tr("Ip address: "), QStringLiteral("ip"));
    keyEdit = addRow(tr("Key: "), QStringLiteral("key"));
    ipEdit->setToolTip(tr("An IPv4 address such as 192.168.1.10, or a host name"));

    const ko_form_rows::Buttons buttons = ko_form_rows::AddOkCancel(this, layout);
    buttons.ok->setText(tr("OK"));
    buttons.cancel->setText(tr("Cancel"));
    connect(buttons.ok, &QPushButton::clicked, this, &KoIpChanger::sOkClicked);
    connect(buttons.cancel, &QPushButton::clicked, this, &KoIpChanger::sCancelClicked);

    loadSettings();
}

QLineEdit* KoIpChanger::addRow(const QString& label, const QString& object_name)
{
    return ko_form_rows::AddEditRow(this, rows, label, object_name);
}

bool KoIpChanger::ReadFile(QString* address)
{
    KoSettingsFile file;
    file.AddKey("IP");
    if (!file.Load("remote.txt"))
        return false;
    const std::string& ip = file.Values["IP"];
    *address = ip == KoSettingsFile::DefaultValue ? QString() : QString::fromStdString(ip);
    return true;
}

void KoIpChanger::loadSettings()
{
    QString address;
    if (ReadFile(&address))
        ipEdit->setText(address);
}

void KoIpChanger::sOkClicked()
{
    // A host name never holds what "remote.txt" cannot keep (blanks, ";").
    const QString address = ipEdit->text().trimmed();
    if (!KoAddressCheck::IsServerAddress(address)) {
        QMessageBox::warning(this, tr("Error"),
                             tr("Ip address: \"%1\" is neither an IPv4 address (four numbers "
                                "from 0 to 255 joined by dots) nor a host name.")
                                 .arg(address),
                             QMessageBox::Ok);
        ipEdit->setFocus();
        ipEdit->selectAll();
        return;
    }
    const QStringList settings{address, keyEdit->text()};
    if (sender && !sender(settings))
        return;
    emit eOkClicked(settings);
    if (dialog)
        dialog->close();
}

void KoIpChanger::sCancelClicked()
{
    if (dialog)
        dialog->close();
}
