#pragma once

#include "client/ko_http_client/ko_device_records.h"

#include <QWidget>

#include <array>
#include <functional>

class QGridLayout;
class QLineEdit;

// Editor of one pass's mount and algorithm parameters. It opens with the values
// the device last reported for the pass ("params%0.txt", written by the live
// panel) and emits the checked record; it never writes that file itself.
// Every field says what it takes, refuses what can never fit while it is
// typed, and on "Ok" the first field that does not fit is named and focused.
class KoClientOptions : public QWidget
{
    Q_OBJECT

public:
    // Sends the record to the device and tells the operator how that went;
    // false keeps the editor open with what was typed.
    using Sender = std::function<bool(int, const ClientOptions&)>;

    KoClientOptions(QWidget* dialog, int pass_id);

    void SetSender(Sender send) { sender = std::move(send); }

    // A head size as typed, in centimetres with a decimal point, as tenths
    // of a centimetre rounded to the nearest (half up): "2.05" is 21, "2.3"
    // is 23. Worked on the decimal digits themselves, so no binary fraction
    // turns 2.3 into 22. False for anything but digits with one point.
    static bool HeadSizeTenths(const QString& text, int32_t* tenths);

signals:
    void eOkClicked(int pass_id, ClientOptions options);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    QLineEdit* addRow(const QString& label, const QString& object_name, const QString& range);
    void loadParams();
    // The first row that does not fit, and why; a null edit when all fit.
    struct Failure
    {
        QLineEdit* edit = nullptr;
        QString text;
    };
    Failure checkInput();

    QWidget* dialog;
    int pass;
    // Label, field and its range, one row each, in aligned columns.
    QGridLayout* rows = nullptr;

    // One a field, in the order of KoMountRanges::Field.
    std::array<QLineEdit*, 9> edits{};
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
    Sender sender;
};
