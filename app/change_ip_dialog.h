#pragma once

#include "settings/ko_ip_changer.h"

#include <QDialog>
#include <QStringList>

// Host of the server address editor.
class ChangeIPDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ChangeIPDialog(QWidget* parent = nullptr);

    // Who sends the address when "OK" is pressed (see KoIpChanger).
    void SetSender(KoIpChanger::Sender send);

signals:
    void eOkClicked(const QStringList& settings);

private:
    KoIpChanger* content = nullptr;
};
