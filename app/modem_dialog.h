#pragma once

#include <QDialog>
#include <QStringList>

// Host of the modem access editor.
class ModemDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ModemDialog(QWidget* parent = nullptr);

signals:
    void eOkClicked(const QStringList& settings);
};
