#include "ko_network_settings.h"

#include "ko_app_data.h"
#include "ko_settings_file.h"
#include "ko_settings_writer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

KoNetworkSettings::WarningBox KoNetworkSettings::warningBox =
    [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
    };

QString KoNetworkSettings::FilePath()
{
    return KoAppData::Folder() + QStringLiteral("network.txt");
}

KoNetworkSettings::KoNetworkSettings(QWidget* parent) : QWidget(parent), owner(parent)
{
    options.hostName = QStringLiteral("localhost");
    options.port = 4567;

    const QString path = FilePath();
    if (QFileInfo::exists(path)) {
        KoSettingsFile file;
        file.AddKey("HOST_NAME");
        file.AddKey("PORT");
        if (file.Load(path.toStdString())) {
            const std::string& host = file.Values["HOST_NAME"];
            if (host != KoSettingsFile::DefaultValue && !host.empty())
                options.hostName = QString::fromStdString(host);
            const std::string& port = file.Values["PORT"];
            if (port != KoSettingsFile::DefaultValue)
                options.port = static_cast<quint16>(std::atoi(port.c_str()));
        }
    }

    auto* host_label = new QLabel(tr("Host name:"), this);
    auto* port_label = new QLabel(tr("Port:"), this);
    hostEdit = new QLineEdit(options.hostName, this);
    portEdit = new QLineEdit(QStringLiteral("%0").arg(options.port), this);
    auto* ok_button = new QPushButton(QStringLiteral("Ok"), this);
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
    column->addLayout(button_row);

    connect(ok_button, &QPushButton::clicked, this, &KoNetworkSettings::sOkClicked);
    connect(cancel_button, &QPushButton::clicked, this, &KoNetworkSettings::sCancelClicked);
}

void KoNetworkSettings::sOkClicked()
{
    bool ok = false;
    const int port = portEdit->text().toInt(&ok, 10);
    // A number outside the port range would reach the link as its low 16
    // bits, an address the operator never typed.
    if (!ok || port < 1 || port > 65535) {
        warningBox(this, tr("Warning"), tr("Not correct port"));
        return;
    }
    if (hostEdit->text().isEmpty()) {
        warningBox(this, tr("Warning"), tr("Not host name"));
        return;
    }
    options.hostName = hostEdit->text();
    options.port = static_cast<quint16>(port);

    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddText("HOST_NAME", options.hostName);
    writer.AddNumber("PORT", port);
    writer.Save(FilePath()); // unwritable: the address is still used now

    emit eOkClicked(options);
    if (owner)
        owner->close();
}

void KoNetworkSettings::sCancelClicked()
{
    if (owner)
        owner->close();
}
