#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QCheckBox;
class QGridLayout;
class QLineEdit;

// Editor of the device's mobile-modem access: dial number, login, password and
// APN. Opens with what the device last acknowledged ("modem.txt"); the file is
// rewritten only on that acknowledgement, never here.
class KoApnSettings : public QWidget
{
    Q_OBJECT

public:
    // Sends the four texts to the device and tells the operator how that
    // went; false keeps the editor open with what was typed.
    using Sender = std::function<bool(const QStringList&)>;

    explicit KoApnSettings(QWidget* dialog);

    void SetSender(Sender send) { sender = std::move(send); }

    // Number, login, password and APN as the device last confirmed them
    // ("modem.txt"); false when there is no file.
    static bool ReadFile(QStringList* settings);
    // Whether every text reads back as it is stored in "modem.txt"; failing
    // gets the position of the first that does not.
    static bool Storable(const QStringList& settings, int* failing = nullptr);

signals:
    // Number, login, password, APN, as typed, once they have gone out.
    void eOkClicked(QStringList settings);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    QLineEdit* addRow(const QString& label, const QString& object_name);
    QGridLayout* rows = nullptr;
    void loadSettings();

    QWidget* dialog;
    QLineEdit* phoneEdit;
    QLineEdit* userNameEdit;
    QLineEdit* passwordEdit;
    QLineEdit* apnEdit;
    QCheckBox* showPassword;
    Sender sender;
};
