#pragma once

#include "settings/ko_apn_settings.h"

#include <QDialog>
#include <QStringList>

// Host of the modem access editor.
class ModemDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ModemDialog(QWidget* parent = nullptr);

    // Who sends the settings when "OK" is pressed (see KoApnSettings).
    void SetSender(KoApnSettings::Sender send);

signals:
    void eOkClicked(const QStringList& settings);

private:
    KoApnSettings* content = nullptr;
};
