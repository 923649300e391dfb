#pragma once

#include "client/ko_http_client/ko_device_records.h"

#include <QWidget>

class QLineEdit;

// Editor of one pass's mount and algorithm parameters. It opens with the values
// the device last reported for the pass ("params%0.txt", written by the live
// panel) and emits the checked record; it never writes that file itself.
class KoClientOptions : public QWidget
{
    Q_OBJECT

public:
    KoClientOptions(QWidget* dialog, int pass_id);

signals:
    void eOkClicked(int pass_id, ClientOptions options);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    QLineEdit* addRow(const QString& label, const QString& object_name);
    void loadParams();
    bool checkInput();

    QWidget* dialog;
    int pass;

    QLineEdit* camMountHeightEdit;
    QLineEdit* camAngleSlopeEdit;
    QLineEdit* minObjectHeightEdit;
    QLineEdit* minHeadSquareEdit;
    QLineEdit* maxHumanVelocityEdit;
    QLineEdit* headSizeEdit;
    QLineEdit* minTrackLenghtEdit;
    QLineEdit* minLostObjectFramesEdit;
    QLineEdit* etalonHeightEdit;

    // Filled row by row while checking; a failed check leaves the rows before
    // the failing one in place, the next check refills every field.
    ClientOptions options;
};
