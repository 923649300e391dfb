#pragma once

#include <QDialog>

// Asks before the reboot command goes out.
class RebootDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RebootDialog(QWidget* parent = nullptr);

signals:
    void eOkClicked();

public slots:
    void sOkClicked();
    void sCancelClicked();
};
