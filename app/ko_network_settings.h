#pragma once

#include "ko_device_records.h"

#include <QWidget>

#include <functional>

class QLineEdit;

// Content of the "Lan options" dialog: the device's host name and port,
// checked, stored in "network.txt" and emitted on "Ok".
class KoNetworkSettings : public QWidget
{
    Q_OBJECT

public:
    explicit KoNetworkSettings(QWidget* parent = nullptr);

    // Shows a warning box (parent, title, text). Tests replace it so that
    // nothing modal blocks them.
    using WarningBox = std::function<void(QWidget*, const QString&, const QString&)>;
    static WarningBox warningBox;

    static QString FilePath();

    QLineEdit* hostEdit = nullptr;
    QLineEdit* portEdit = nullptr;
    KoNetworkOptions options;

signals:
    void eOkClicked(KoNetworkOptions options);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    QWidget* owner = nullptr; // closed on "Ok" and "Cancel"; not owned
};
