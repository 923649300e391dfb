#include "ko_device_editor.h"

#include "ko_address_book.h"

#include "settings/ko_address_check.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

KoDeviceEditor::KoDeviceEditor(QWidget* parent, const KoFleetDevice& edited,
                               AddressCheck address_check)
    : QDialog(parent), device(edited), addressCheck(std::move(address_check))
{
    setWindowTitle(edited.host.isEmpty() ? tr("New device") : tr("Device %1").arg(edited.name));
    auto* form = new QFormLayout;
    nameEdit = new QLineEdit(device.name, this);
    nameEdit->setObjectName(QStringLiteral("name"));
    nameEdit->setMaxLength(KoAddressBook::MaxName);
    vehicleEdit = new QLineEdit(device.vehicle, this);
    vehicleEdit->setObjectName(QStringLiteral("vehicle"));
    vehicleEdit->setMaxLength(KoAddressBook::MaxVehicle);
    doorsBox = new QSpinBox(this);
    doorsBox->setObjectName(QStringLiteral("doors"));
    doorsBox->setRange(0, 4);
    doorsBox->setSpecialValueText(tr("not known"));
    doorsBox->setValue(device.doors);
    hostEdit = new QLineEdit(device.host, this);
    hostEdit->setObjectName(QStringLiteral("host"));
    hostEdit->setToolTip(tr("An IP address such as 192.168.1.10, or a host name"));
    portEdit = new QLineEdit(QString::number(device.port), this);
    portEdit->setObjectName(QStringLiteral("port"));
    auto* port_validator = new QIntValidator(1, 65535, portEdit);
    port_validator->setLocale(QLocale::c());
    portEdit->setValidator(port_validator);
    notesEdit = new QPlainTextEdit(device.notes, this);
    notesEdit->setObjectName(QStringLiteral("notes"));
    notesEdit->setTabChangesFocus(true);
    const int line = notesEdit->fontMetrics().lineSpacing();
    notesEdit->setMinimumSize(30 * notesEdit->fontMetrics().averageCharWidth(), 4 * line);

    form->addRow(tr("Name:"), nameEdit);
    form->addRow(tr("Vehicle number:"), vehicleEdit);
    form->addRow(tr("Doors:"), doorsBox);
    form->addRow(tr("Host name:"), hostEdit);
    form->addRow(tr("Port:"), portEdit);
    form->addRow(tr("Notes:"), notesEdit);
    const QString never = tr("never");
    form->addRow(tr("Last connected:"),
                 new QLabel(device.lastConnected.isValid()
                                ? KoAddressBook::ShownDate(device.lastConnected)
                                : never,
                            this));
    form->addRow(
        tr("Software version:"),
        new QLabel(device.softwareVersion.isEmpty() ? tr("not reported") : device.softwareVersion,
                   this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &KoDeviceEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &KoDeviceEditor::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
}

void KoDeviceEditor::accept()
{
    KoFleetDevice typed = device;
    typed.name = nameEdit->text().trimmed();
    typed.vehicle = vehicleEdit->text().trimmed();
    typed.doors = doorsBox->value();
    typed.host = hostEdit->text().trimmed();
    // Lines typed after the last word are no part of the notes.
    typed.notes = notesEdit->toPlainText();
    while (!typed.notes.isEmpty() && typed.notes.back().isSpace())
        typed.notes.chop(1);
    QString why;
    if (!KoAddressCheck::ParsePort(portEdit->text().trimmed(), &typed.port))
        why = tr("the port \"%1\" is not a number from 1 to 65535").arg(portEdit->text());
    if (why.isEmpty())
        why = KoAddressBook::Check(typed);
    if (why.isEmpty() && addressCheck)
        why = addressCheck(typed.host, typed.port);
    if (!why.isEmpty()) {
        QMessageBox::warning(this, tr("Error"), tr("The device cannot be kept: %1.").arg(why));
        return;
    }
    device = typed;
    QDialog::accept();
}
