#include "update_dialog.h"

#include "ko_app_data.h"

#include <QDir>
#include <QVBoxLayout>

SwUpdateDialog::SwUpdateDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    content = new KoUpdater(this);
    layout->addWidget(content);
    setWindowTitle(tr("Update sw dialog"));
    connect(content, &KoUpdater::eSwUpdate, this, &SwUpdateDialog::eOkClicked);

    const QString folder_key = QStringLiteral("update");
    content->SetStartFolder(KoAppData::LastFolder(folder_key, QDir::currentPath()));
    connect(content, &KoUpdater::eFolderChosen, this,
            [folder_key](const QString& folder) { KoAppData::SetLastFolder(folder_key, folder); });
}

void SwUpdateDialog::SetSender(KoUpdater::Sender send)
{
    content->SetSender(std::move(send));
}
