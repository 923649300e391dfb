#include "ko_apn_settings.h"

#include "ko_settings_file.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString textValue(const std::string& value)
{
    return value == KoSettingsFile::DefaultValue ? QString() : QString::fromStdString(value);
}

} // namespace

KoApnSettings::KoApnSettings(QWidget* dialog) : QWidget(dialog), dialog(dialog)
{
    auto* layout = new QVBoxLayout(this);
    setLayout(layout);

    phoneEdit = addRow(tr("Number: "), QStringLiteral("phone"));
    userNameEdit = addRow(tr("Login: "), QStringLiteral("userName"));
    // Shown in clear: the technician reads it off the SIM card's paperwork.
    passwordEdit = addRow(tr("Password: "), QStringLiteral("password"));
    apnEdit = addRow(tr("APN: "), QStringLiteral("apn"));

    auto* buttons = new QHBoxLayout();
    auto* ok_button = new QPushButton(tr("OK"), this);
    auto* cancel_button = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(ok_button);
    buttons->addWidget(cancel_button);
    layout->addLayout(buttons);

    connect(ok_button, &QPushButton::clicked, this, &KoApnSettings::sOkClicked);
    connect(cancel_button, &QPushButton::clicked, this, &KoApnSettings::sCancelClicked);

    loadSettings();
}

QLineEdit* KoApnSettings::addRow(const QString& label, const QString& object_name)
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

void KoApnSettings::loadSettings()
{
    KoSettingsFile file;
    file.AddKey("APN");
    file.AddKey("PHONE");
    file.AddKey("USERNAME");
    file.AddKey("PASSWORD");
    if (!file.Load("modem.txt"))
        return;

    phoneEdit->setText(textValue(file.Values["PHONE"]));
    userNameEdit->setText(textValue(file.Values["USERNAME"]));
    passwordEdit->setText(textValue(file.Values["PASSWORD"]));
    apnEdit->setText(textValue(file.Values["APN"]));
}

void KoApnSettings::sOkClicked()
{
    emit eOkClicked(
        {phoneEdit->text(), userNameEdit->text(), passwordEdit->text(), apnEdit->text()});
    if (dialog)
        dialog->close();
}

void KoApnSettings::sCancelClicked()
{
    if (dialog)
        dialog->close();
}
