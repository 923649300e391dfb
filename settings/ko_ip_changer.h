#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QGridLayout;
class QLineEdit;

// Editor of the address of the server the device reports to, and of the key
// sent along with it. The address opens with what the device last confirmed
// ("remote.txt"); the key is never stored.
class KoIpChanger : public QWidget
{
    Q_OBJECT

public:
    // Sends the address and key to the device and tells the operator how
    // that went; false keeps the editor open with what was typed.
    using Sender = std::function<bool(const QStringList&)>;

    explicit KoIpChanger(QWidget* dialog);

    void SetSender(Sender send) { sender = std::move(send); }

    // The address the device last confirmed ("remote.txt"), empty when the
    // file has none; false when there is no file.
    static bool ReadFile(QString* address);

signals:
    // Address (without blanks around it), then key as typed, once they have
    // gone out.
    void eOkClicked(QStringList settings);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    QLineEdit* addRow(const QString& label, const QString& object_name);
    QGridLayout* rows = nullptr;
    void loadSettings();

    QWidget* dialog;
    QLineEdit* ipEdit;
    QLineEdit* keyEdit;
    Sender sender;
};
