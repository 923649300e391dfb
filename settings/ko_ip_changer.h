#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;

// Editor of the address of the server the device reports to, and of the key
// sent along with it. The address opens with what the device last confirmed
// ("remote.txt"); the key is never stored.
class KoIpChanger : public QWidget
{
    Q_OBJECT

public:
    explicit KoIpChanger(QWidget* dialog);

signals:
    // Address, then key, as typed.
    void eOkClicked(QStringList settings);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    QLineEdit* addRow(const QString& label, const QString& object_name);
    void loadSettings();

    QWidget* dialog;
    QLineEdit* ipEdit;
    QLineEdit* keyEdit;
};
