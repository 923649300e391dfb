#include "ko_ip_changer.h"

#include "ko_settings_file.h"

#include <QHBoxLayout>
#include <QLabel>
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

    auto* buttons = new QHBoxLayout();
    auto* ok_button = new QPushButton(tr("OK"), this);
    auto* cancel_button = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(ok_button);
    buttons->addWidget(cancel_button);
    layout->addLayout(buttons);

    connect(ok_button, &QPushButton::clicked, this, &KoIpChanger::sOkClicked);
    connect(cancel_button, &QPushButton::clicked, this, &KoIpChanger::sCancelClicked);

    loadSettings();
}

QLineEdit* KoIpChanger::addRow(const QString& label, const QString& object_name)
{
    auto* row = new QHBoxLayout();
    auto* text = new QLabel(label, this);
    text->setFixedWidth(100);
    auto* edit = new QLineEdit(this);
    edit->setFixedWidth(100);
    edit->setObjectName(object_name);
    row->addWidget(text);
    row->addWidget(edit);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    return edit;
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
