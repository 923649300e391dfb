#pragma once

#include "ko_fleet_device.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

// One device of the address book, added or edited: name, vehicle number,
// door count, host, port and notes; the last connection and the software
// version are shown, not typed. "OK" checks every field and asks the book
// whether the address is free.
class KoDeviceEditor : public QDialog
{
    Q_OBJECT

public:
    // Why the address cannot be used (another device has it), empty when it can.
    using AddressCheck = std::function<QString(const QString& host, quint16 port)>;

    KoDeviceEditor(QWidget* parent, const KoFleetDevice& device, AddressCheck address_check);

    KoFleetDevice Device() const { return device; }

public slots:
    void accept() override;

private:
    KoFleetDevice device;
    AddressCheck addressCheck;
    QLineEdit* nameEdit = nullptr;
    QLineEdit* vehicleEdit = nullptr;
    QSpinBox* doorsBox = nullptr;
    QLineEdit* hostEdit = nullptr;
    QLineEdit* portEdit = nullptr;
    QPlainTextEdit* notesEdit = nullptr;
};
