#pragma once

#include <QDialog>

#include <functional>

// Asks before the reboot command goes out.
class RebootDialog : public QDialog
{
    Q_OBJECT

public:
    // Sends the reboot command and tells the operator how that went; false
    // keeps the dialog open.
    using Sender = std::function<bool()>;

    explicit RebootDialog(QWidget* parent = nullptr);

    void SetSender(Sender send) { sender = std::move(send); }

signals:
    void eOkClicked();

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    Sender sender;
};
