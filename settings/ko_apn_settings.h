#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;

// Editor of the device's mobile-modem access: dial number, login, password and
// APN. Opens with what the device last acknowledged ("modem.txt"); the file is
// rewritten only on that acknowledgement, never here.
class KoApnSettings : public QWidget
{
    Q_OBJECT

public:
    explicit KoApnSettings(QWidget* dialog);

signals:
    // Number, login, password, APN, as typed.
    void eOkClicked(QStringList settings);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    QLineEdit* addRow(const QString& label, const QString& object_name);
    void loadSettings();

    QWidget* dialog;
    QLineEdit* phoneEdit;
    QLineEdit* userNameEdit;
    QLineEdit* passwordEdit;
    QLineEdit* apnEdit;
};
