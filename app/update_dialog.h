#pragma once

#include "update/ko_updater.h"

#include <QByteArray>
#include <QDialog>

// Host of the software update widget. Its file dialog opens where it was
// left the last time.
class SwUpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SwUpdateDialog(QWidget* parent = nullptr);

    // Who sends the configuration when "Ok" is pressed (see KoUpdater).
    void SetSender(KoUpdater::Sender send);

signals:
    void eOkClicked(const QByteArray& sw);

private:
    KoUpdater* content = nullptr;
};
