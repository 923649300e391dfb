#include "ko_updater.h"

#include "ko_distribution_reader.h"
#include "ko_update_log.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStringListModel>
#include <QStyle>
#include <QVBoxLayout>

KoUpdater::KoUpdater(QWidget* parent)
    : QWidget(parent), fileChooser([](QWidget* owner, const QString& caption, const QString& dir,
                                      const QString& filter) {
          return QFileDialog::getOpenFileName(owner, caption, dir, filter);
      })
{
    auto* layout = new QVBoxLayout(this);

    auto* path_row = new QHBoxLayout();
    path_row->addWidget(new QLabel(tr("SW path"), this));
    pathEdit = new QLineEdit(this);
    pathEdit->setObjectName(QStringLiteral("swPath"));
    // Only the file dialog sets it: a typed path would send from a file
    // other than the one whose list is shown.
    pathEdit->setReadOnly(true);
    pathEdit->setMinimumWidth(300);
    path_row->addWidget(pathEdit);
    auto* browse_button = new QPushButton(this);
    browse_button->setObjectName(QStringLiteral("browse"));
    browse_button->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    path_row->addWidget(browse_button);
    layout->addLayout(path_row);

    layout->addWidget(new QLabel(tr("Configurations"), this));
    configModel = new QStringListModel(this);
    configView = new QListView(this);
    configView->setObjectName(QStringLiteral("configurations"));
    configView->setModel(configModel);
    configView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(configView);

    auto* buttons = new QHBoxLayout();
    auto* ok_button = new QPushButton(tr("Ok"), this);
    auto* cancel_button = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(ok_button);
    buttons->addWidget(cancel_button);
    layout->addLayout(buttons);

    connect(browse_button, &QPushButton::clicked, this, &KoUpdater::sOpenPath);
    connect(ok_button, &QPushButton::clicked, this, &KoUpdater::sOkClicked);
    connect(cancel_button, &QPushButton::clicked, this, &KoUpdater::sCancelClicked);
}

void KoUpdater::SetFileChooser(FileChooser chooser)
{
    fileChooser = std::move(chooser);
}

void KoUpdater::sOpenPath()
{
    const QString start = startFolder.isEmpty() ? QDir::currentPath() : startFolder;
    const QString path = fileChooser(this, tr("Choose the sw file"), start, tr("(*.pcd)"));
    if (!path.isEmpty()) {
        pathEdit->setText(path);
        startFolder = QFileInfo(path).absolutePath();
        emit eFolderChosen(startFolder);
    }
    // A cancelled dialog gives no path, which reads as a bad distribution.
    OpenDistribution(path);
}

bool KoUpdater::OpenDistribution(const QString& path)
{
    KoDistribution distribution;
    QString error;
    const bool ok = KoDistributionReader::read(path, &distribution, &error);
    groups = distribution.groups;
    members = distribution.members;
    names.clear();
    QStringList shown;
    for (const KoDistributionMember& member : qAsConst(members)) {
        names.append(QString::fromUtf8(member.name));
        const QString crc =
            QString::number(member.crc, 16).toUpper().rightJustified(8, QLatin1Char('0'));
        shown.append(tr("%1 (%2 bytes, CRC %3)").arg(names.last()).arg(member.dataSize).arg(crc));
    }
    configModel->setStringList(shown);
    if (!ok) {
        qCDebug(lcUpdate) << "refused" << path << error;
        pathEdit->clear();
        distributionPath.clear();
        showNotCorrect();
        return false;
    }
    pathEdit->setText(path);
    distributionPath = path;
    if (!names.isEmpty())
        configView->setCurrentIndex(configModel->index(0));
    return true;
}

void KoUpdater::sOkClicked()
{
    const QModelIndexList selected = configView->selectionModel()->selectedIndexes();
    if (selected.isEmpty() || members.isEmpty())
        return;
    const int row = selected.constFirst().row();
    if (row < 0 || row >= members.size())
        return;
    if (members.at(row).dataSize == 0) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("The configuration \"%1\" is empty (0 bytes) and cannot be sent.")
                                 .arg(names.value(row)));
        return;
    }
    // The file is read again here, so it is checked again: it may have been
    // replaced or damaged since the list was filled, and a damaged
    // configuration must not reach the device.
    QByteArray data;
    QString error;
    if (!KoDistributionReader::readMemberData(distributionPath, members.at(row), &data, &error)) {
        qCDebug(lcUpdate) << "cannot fetch" << names.value(row) << error;
        showNotCorrect();
        return;
    }
    if (sender && !sender(data))
        return;
    emit eSwUpdate(data);
    sCancelClicked();
}

void KoUpdater::sCancelClicked()
{
    // Inside its dialog this closes the dialog.
    window()->close();
}

void KoUpdater::showNotCorrect()
{
    QMessageBox::warning(this, tr("Warning"), tr("Not correct distributive"));
}
