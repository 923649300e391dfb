#include "update_dialog.h"

#include "update/ko_updater.h"

#include <QVBoxLayout>

SwUpdateDialog::SwUpdateDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* updater = new KoUpdater(this);
    layout->addWidget(updater);
    setWindowTitle(tr("Update sw dialog"));
    connect(updater, &KoUpdater::eSwUpdate, this, &SwUpdateDialog::eOkClicked);
}
