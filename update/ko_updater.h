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
// sees its configurations and sends one of them. A distribution is shown only
// when every member's CRC holds; the chosen one is read again on "Ok".
class KoUpdater : public QWidget
{
    Q_OBJECT

public:
    // Asks for the file to read: parent, caption, start folder, filter. An
    // empty path means the operator cancelled.
    using FileChooser =
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;

    explicit KoUpdater(QWidget* parent = nullptr);

    // Stands in for the file dialog (tests, scripted use).
    void SetFileChooser(FileChooser chooser);

    // Reads the distribution at path and shows its configurations; on any
    // fault empties the path and the list and warns the operator.
    bool OpenDistribution(const QString& path);

    QStringList ConfigurationNames() const { return names; }

signals:
    void eSwUpdate(QByteArray sw);

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

    QVector<KoDistributionGroup> groups;
    QVector<KoDistributionMember> members;
    QStringList names;
};
