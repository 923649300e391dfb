#pragma once

#include "ko_distribution.h"

#include <QByteArray>
#include <QStringList>
#include <QWidget>

#include <functional>

class QLineEdit;
class QListView;
class QStringListModel;

// The content of the update dialog: the operator picks a distribution file,
// sees its configurations with their sizes and CRCs and sends one of them. A
// distribution is shown only when every member's CRC holds; the chosen one is
// read again on "Ok" from the file that was listed (the path cannot be typed
// over), and an empty one is refused.
class KoUpdater : public QWidget
{
    Q_OBJECT

public:
    // Asks for the file to read: parent, caption, start folder, filter. An
    // empty path means the operator cancelled.
    using FileChooser =
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;

    // Sends a configuration to the device and tells the operator how that
    // went; false keeps the widget open with its choice.
    using Sender = std::function<bool(const QByteArray&)>;

    explicit KoUpdater(QWidget* parent = nullptr);

    // Stands in for the file dialog (tests, scripted use).
    void SetFileChooser(FileChooser chooser);
    void SetSender(Sender send) { sender = std::move(send); }
    // Where the file dialog opens; the working directory unless set.
    void SetStartFolder(const QString& folder) { startFolder = folder; }

    // Reads the distribution at path and shows its configurations; on any
    // fault empties the path and the list and warns the operator.
    bool OpenDistribution(const QString& path);

    QStringList ConfigurationNames() const { return names; }
    // The file the list was read from; empty when none was read.
    QString DistributionPath() const { return distributionPath; }

signals:
    // The chosen configuration, once it has gone out.
    void eSwUpdate(QByteArray sw);
    // The folder of a file picked in the file dialog, to start there next time.
    void eFolderChosen(QString folder);

public slots:
    void sOpenPath();
    void sOkClicked();
    void sCancelClicked();

private:
    void showNotCorrect();

    QLineEdit* pathEdit = nullptr;
    QListView* configView = nullptr;
    QStringListModel* configModel = nullptr;
    FileChooser fileChooser;
    Sender sender;
    QString startFolder;
    QString distributionPath;

    QVector<KoDistributionGroup> groups;
    QVector<KoDistributionMember> members;
    QStringList names;
};
