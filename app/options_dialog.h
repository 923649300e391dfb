#pragma once

#include "client/ko_http_client/ko_device_records.h"
#include "settings/ko_client_options.h"

#include <QDialog>

// Host of the mount options editor of one pass.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OptionsDialog(QWidget* parent, int pass_id);

    // Who sends the record when "Ok" is pressed (see KoClientOptions).
    void SetSender(KoClientOptions::Sender send);

signals:
    void eOkClicked(int pass_id, ClientOptions options);

private:
    KoClientOptions* content = nullptr;
};
