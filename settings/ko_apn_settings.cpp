#include "ko_apn_settings.h"

#include "ko_form_rows.h"
#include "ko_settings_file.h"
#include "ko_settings_writer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
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
    rows = new QGridLayout();
    layout->addLayout(rows);

    phoneEdit = addRow(tr("Number: "), QStringLiteral("phone"));
    userNameEdit = addRow(tr("Login: "), QStringLiteral("userName"));
    passwordEdit = addRow(tr("Password: "), QStringLiteral("password"));
    apnEdit = addRow(tr("APN: "), QStringLiteral("apn"));

    // Hidden unless asked for: the technician may read it off the SIM
    // card's paperwork with someone looking over the shoulder.
    passwordEdit->setEchoMode(QLineEdit::Password);
    showPassword = new QCheckBox(tr("Show password"), this);
    showPassword->setObjectName(QStringLiteral("showPassword"));
    layout->addWidget(showPassword);
    connect(showPassword, &QCheckBox::toggled, this, [this](bool shown) {
        passwordEdit->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });

    const QString stored_as_typed = tr("Stored as typed: no blanks, tabs, \";\" or line breaks.");
    for (QLineEdit* edit : {phoneEdit, userNameEdit, passwordEdit, apnEdit})
        edit->setToolTip(stored_as_typed);

    const ko_form_rows::Buttons buttons = ko_form_rows::AddOkCancel(this, layout);
    buttons.ok->setText(tr("OK"));
    buttons.cancel->setText(tr("Cancel"));
    connect(buttons.ok, &QPushButton::clicked, this, &KoApnSettings::sOkClicked);
    connect(buttons.cancel, &QPushButton::clicked, this, &KoApnSettings::sCancelClicked);

    loadSettings();
}

QLineEdit* KoApnSettings::addRow(const QString& label, const QString& object_name)
{
    return ko_form_rows::AddEditRow(this, rows, label, object_name);
}

bool KoApnSettings::ReadFile(QStringList* settings)
{
    KoSettingsFile file;
    file.AddKey("APN");
    file.AddKey("PHONE");
    file.AddKey("USERNAME");
    file.AddKey("PASSWORD");
    if (!file.Load("modem.txt"))
        return false;
    *settings = QStringList{textValue(file.Values["PHONE"]), textValue(file.Values["USERNAME"]),
                            textValue(file.Values["PASSWORD"]), textValue(file.Values["APN"])};
    return true;
}

void KoApnSettings::loadSettings()
{
    QStringList settings;
    if (!ReadFile(&settings))
        return;
    phoneEdit->setText(settings.at(0));
    userNameEdit->setText(settings.at(1));
    passwordEdit->setText(settings.at(2));
    apnEdit->setText(settings.at(3));
}

bool KoApnSettings::Storable(const QStringList& settings, int* failing)
{
    for (int i = 0; i < settings.size(); ++i) {
        if (!KoSettingsWriter::CanHold(settings.at(i))) {
            if (failing)
                *failing = i;
            return false;
        }
    }
    return true;
}

void KoApnSettings::sOkClicked()
{
    // "modem.txt" keeps what the device confirms; a value it cannot hold
    // would come back empty the next time, so it is refused here.
    const QList<QPair<QLineEdit*, QString>> fields{{phoneEdit, tr("Number")},
                                                   {userNameEdit, tr("Login")},
                                                   {passwordEdit, tr("Password")},
                                                   {apnEdit, tr("APN")}};
    const QStringList settings{phoneEdit->text(), userNameEdit->text(), passwordEdit->text(),
                               apnEdit->text()};
    int failing = 0;
    if (!Storable(settings, &failing)) {
        const auto& field = fields.at(failing);
        QMessageBox::warning(this, tr("Error"),
                             tr("%1 cannot be stored: it may not hold blanks, tabs, \";\" or line "
                                "breaks, nor be the word \"default\".")
                                 .arg(field.second),
                             QMessageBox::Ok);
        field.first->setFocus();
        field.first->selectAll();
        return;
    }
    if (sender && !sender(settings))
        return;
    emit eOkClicked(settings);
    if (dialog)
        dialog->close();
}

void KoApnSettings::sCancelClicked()
{
    if (dialog)
        dialog->close();
}
