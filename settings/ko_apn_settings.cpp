#include "ko_apn_settings.h"

#include "ko_form_rows.h"
#include "ko_settings_file.h"

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

    const ko_form_rows::Buttons buttons = ko_form_rows::AddOkCancel(this, layout);
    buttons.ok->setText(tr("OK"));
    buttons.cancel->setText(tr("Cancel"));
    connect(buttons.ok, &QPushButton::clicked, this, &KoApnSettings::sOkClicked);
    connect(buttons.cancel, &QPushButton::clicked, this, &KoApnSettings::sCancelClicked);

    loadSettings();
}

QLineEdit* KoApnSettings::addRow(const QString& label, const QString& object_name)
{
    return ko_form_rows::AddEditRow(this, static_cast<QVBoxLayout*>(layout()), label, object_name);
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
