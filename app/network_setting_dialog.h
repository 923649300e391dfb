#pragma once

#include "ko_device_records.h"

#include <QDialog>

class KoNetworkSettings;

// The "Lan options" dialog around KoNetworkSettings.
class NetworkSettingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NetworkSettingDialog(QWidget* parent = nullptr);

    KoNetworkSettings* Content() const { return content; }

signals:
    void eOkClicked(KoNetworkOptions options);

private:
    KoNetworkSettings* content = nullptr;
};
