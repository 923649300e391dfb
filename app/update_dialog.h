#pragma once

#include <QByteArray>
#include <QDialog>

// Host of the software update widget.
class SwUpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SwUpdateDialog(QWidget* parent = nullptr);

signals:
    void eOkClicked(const QByteArray& sw);
};
