#include "ko_network_settings.h"

#include "ko_address_check.h"
#include "ko_network_file.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

KoNetworkSettings::WarningBox KoNetworkSettings::warningBox =
    [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
    };

QString KoNetworkSettings::FilePath()
{
    return KoNetworkFile::Path();
}

KoNetworkSettings::KoNetworkSettings(QWidget* parent) : QWidget(parent), owner(parent)
{
    options.hostName = QStringLiteral("localhost");
    options.port = 4567;

    const QString path = FilePath();
    if (QFileInfo::exists(path))
        KoNetworkFile::Read(path, options.hostName, options.port);

    auto* host_label = new QLabel(tr("Host name:"), this);
    auto* port_label = new QLabel(tr("Port:"), this);
    hostEdit = new QLineEdit(options.hostName, this);
    portEdit = new QLineEdit(QStringLiteral("%0").arg(options.port), this);
    auto* ok_button = new QPushButton(tr("Ok"), this);
    auto* cancel_button = new QPushButton(tr("Cancel"), this);

    auto* column = new QVBoxLayout(this);
    auto* host_row = new QHBoxLayout;
    host_row->addWidget(host_label);
    host_row->addWidget(hostEdit);
    auto* port_row = new QHBoxLayout;
    port_row->addWidget(port_label);
    port_row->addWidget(portEdit);
    auto* button_row = new QHBoxLayout;
    button_row->addWidget(ok_button);
    button_row->addWidget(cancel_button);
    column->addLayout(host_row);
    column->addLayout(port_row);
    addToBook = new QCheckBox(tr("Add to the address book"), this);
    addToBook->setObjectName(QStringLiteral("addToBook"));
    addToBook->hide();
    column->addWidget(addToBook);
    column->addLayout(button_row);

    connect(ok_button, &QPushButton::clicked, this, &KoNetworkSettings::sOkClicked);
    connect(cancel_button, &QPushButton::clicked, this, &KoNetworkSettings::sCancelClicked);
}

void KoNetworkSettings::OfferBook(BookCheck known)
{
    bookKnows = std::move(known);
    connect(hostEdit, &QLineEdit::textChanged, this, &KoNetworkSettings::updateBookOffer);
    connect(portEdit, &QLineEdit::textChanged, this, &KoNetworkSettings::updateBookOffer);
    updateBookOffer();
}

void KoNetworkSettings::updateBookOffer()
{
    quint16 port = 0;
    const QString host = hostEdit->text().trimmed();
    addToBook->setVisible(bookKnows &&
                          KoAddressCheck::ParsePort(portEdit->text().trimmed(), &port) &&
                          KoAddressCheck::IsDeviceHost(host) && !bookKnows(host, port));
}

void KoNetworkSettings::sOkClicked()
{
    // A number outside the port range would reach the link as its low 16
    // bits, an address the operator never typed.
    quint16 port = 0;
    if (!KoAddressCheck::ParsePort(portEdit->text().trimmed(), &port)) {
        warningBox(this, tr("Warning"), tr("Not correct port"));
        return;
    }
    // Blanks around a name are dropped; inside one, the file could not keep it.
    const QString host = hostEdit->text().trimmed();
    if (host.isEmpty()) {
        warningBox(this, tr("Warning"), tr("Not host name"));
        return;
    }
    if (!KoAddressCheck::IsDeviceHost(host)) {
        warningBox(this, tr("Warning"),
                   tr("\"%1\" is neither an IP address nor a host name.").arg(host));
        return;
    }
    options.hostName = host;
    options.port = port;

    // Unwritable: said, and the address is still used now.
    QString error;
    if (!KoNetworkFile::Write(FilePath(), host, port, &error))
        warningBox(this, tr("Error"),
                   tr("\"%1\" could not be written: %2. The address is used now, but the next "
                      "start uses the old one.")
                       .arg(QDir::toNativeSeparators(FilePath()), error));

    emit eOkClicked(options);
    if (!addToBook->isHidden() && addToBook->isChecked())
        emit eAddToBook(options);
    if (owner)
        owner->close();
}

void KoNetworkSettings::sCancelClicked()
{
    if (owner)
        owner->close();
}
