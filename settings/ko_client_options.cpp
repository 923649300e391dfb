#include "ko_client_options.h"

#include "ko_settings_file.h"
#include "ko_settings_log.h"
#include "ko_settings_writer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

const char* const keyMountHeight = "KO_CAM_MOUNT_HEIGHT";
const char* const keyAngleSlope = "KO_CAM_ANGLE_SLOPE";
const char* const keyMinObjectHeight = "KO_MIN_OBJECT_HEIGHT";
const char* const keyMinHeadSquare = "KO_MIN_HEAD_SQUARE";
const char* const keyMaxHumanVelocity = "KO_MAX_HUMAN_VELOCITY";
const char* const keyHeadSize = "KO_HEAD_SIZE";
const char* const keyMinTrackLenght = "KO_MIN_TRACK_LENGHT";
const char* const keyMinLostObjectFrames = "KO_MIN_LOST_OBJECT_FRAMES";
const char* const keyEtalonHeight = "KO_ETALON_HEIGHT";

// atoi semantics (leading blanks, sign, digits, 0 for anything else) without
// its undefined behaviour on values beyond int: those saturate.
int valueToInt(const std::string& value)
{
    if (value == KoSettingsFile::DefaultValue)
        return 0;
    const long parsed = std::strtol(value.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(parsed, INT_MIN, INT_MAX));
}

bool parseInt(const QLineEdit* edit, int& value)
{
    bool ok = false;
    value = edit->text().toInt(&ok, 10);
    return ok;
}

// What a row is called in a message, and what it takes.
QString fieldName(const QLineEdit* edit)
{
    return edit->property("fieldName").toString();
}

QString allowed(const QLineEdit* edit)
{
    return edit->property("allowed").toString();
}

QValidator* intValidator(int bottom, QObject* parent)
{
    auto* validator = new QIntValidator(bottom, INT_MAX, parent);
    validator->setLocale(QLocale::c());
    return validator;
}

} // namespace

KoClientOptions::KoClientOptions(QWidget* dialog, int pass_id)
    : QWidget(dialog), dialog(dialog), pass(pass_id)
{
    auto* layout = new QVBoxLayout(this);
    setLayout(layout);
    rows = new QGridLayout();
    rows->setColumnStretch(2, 1);
    layout->addLayout(rows);

    camMountHeightEdit = addRow(tr("Camera mount height (sm.):"), QStringLiteral("camMountHeight"),
                                tr("101 or more"));
    camAngleSlopeEdit = addRow(tr("Camera slope angle (dg.):"), QStringLiteral("camAngleSlope"),
                               tr("from -80 to 80"));
    minObjectHeightEdit = addRow(tr("Min. object heght (sm.)"), QStringLiteral("minObjectHeight"),
                                 tr("6 or more, below the mount height"));
    minHeadSquareEdit = addRow(tr("Object size (pix.):"), QStringLiteral("minHeadSquare"),
                               tr("as the device reports it"));
    maxHumanVelocityEdit = addRow(tr("Max object velocity (km/h.):"),
                                  QStringLiteral("maxHumanVelocity"), tr("1 or more"));
    headSizeEdit = addRow(tr("Head size (sm.):"), QStringLiteral("headSize"),
                          tr("2.1 or more, rounded to tenths"));
    minTrackLenghtEdit =
        addRow(tr("Min track lenght (frames):"), QStringLiteral("minTrackLenght"), tr("3 or more"));
    minLostObjectFramesEdit =
        addRow(tr("Lost object lenght (frames):"), QStringLiteral("minLostObjectFrames"),
               tr("1 or more, below the min track lenght"));
    etalonHeightEdit =
        addRow(tr("Etalon height (sm.):"), QStringLiteral("etalonHeight"), tr("0, or 31 or more"));

    // The object size is the device's own measure: shown and sent back as it came.
    minHeadSquareEdit->setEnabled(false);

    // Typing is held to what can still become a value of the row; the
    // ranges that depend on another row are checked on "Ok".
    camMountHeightEdit->setValidator(intValidator(101, this));
    auto* slope = new QIntValidator(-80, 80, this);
    slope->setLocale(QLocale::c());
    camAngleSlopeEdit->setValidator(slope);
    minObjectHeightEdit->setValidator(intValidator(6, this));
    maxHumanVelocityEdit->setValidator(intValidator(1, this));
    headSizeEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,7}(\\.[0-9]{0,3})?")), this));
    minTrackLenghtEdit->setValidator(intValidator(3, this));
    minLostObjectFramesEdit->setValidator(intValidator(1, this));
    etalonHeightEdit->setValidator(intValidator(0, this));

    layout->addSpacerItem(new QSpacerItem(100, 40));

    auto* buttons = new QHBoxLayout();
    auto* ok_button = new QPushButton(tr("Ok"), this);
    auto* cancel_button = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(ok_button);
    buttons->addWidget(cancel_button);
    layout->addLayout(buttons);

    connect(ok_button, &QPushButton::clicked, this, &KoClientOptions::sOkClicked);
    connect(cancel_button, &QPushButton::clicked, this, &KoClientOptions::sCancelClicked);

    loadParams();
}

QLineEdit* KoClientOptions::addRow(const QString& label, const QString& object_name,
                                   const QString& range)
{
    auto* text = new QLabel(label, this);
    // At least the old column width, wider where a translation needs it.
    text->setMinimumWidth(150);
    auto* edit = new QLineEdit(this);
    edit->setMaximumWidth(50);
    edit->setObjectName(object_name);
    QString name = label.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    edit->setProperty("fieldName", name);
    edit->setProperty("allowed", range);
    edit->setToolTip(tr("Allowed: %1").arg(range));
    auto* range_label = new QLabel(range, this);
    range_label->setObjectName(object_name + QStringLiteral("Range"));
    range_label->setEnabled(false);    // a hint, drawn in the quieter colour
    const int row = rows->count() / 3; // three widgets a row
    rows->addWidget(text, row, 0);
    rows->addWidget(edit, row, 1);
    rows->addWidget(range_label, row, 2);
    return edit;
}

void KoClientOptions::loadParams()
{
    KoSettingsFile file;
    for (const char* key :
         {keyMountHeight, keyAngleSlope, keyMinObjectHeight, keyMinHeadSquare, keyMaxHumanVelocity,
          keyHeadSize, keyMinTrackLenght, keyMinLostObjectFrames, keyEtalonHeight})
        file.AddKey(key);

    const QString path = KoSettingsWriter::PassFileName(QStringLiteral("params%0.txt"), pass);
    if (!file.Load(path.toStdString())) {
        qCDebug(lcSettings) << "no parameter file" << path;
        return;
    }

    const auto value = [&file](const char* key) { return valueToInt(file.Values[key]); };
    ClientOptions loaded;
    loaded.camMountHeight = value(keyMountHeight);
    loaded.camAngleSlope = value(keyAngleSlope);
    loaded.minObjectHeight = value(keyMinObjectHeight);
    loaded.minHeadSquare = value(keyMinHeadSquare);
    loaded.maxHumanVelocity = value(keyMaxHumanVelocity);
    loaded.headSize = value(keyHeadSize);
    loaded.minTrackLenght = value(keyMinTrackLenght);
    loaded.minLostObjectFrames = value(keyMinLostObjectFrames);
    loaded.etalonHeight = value(keyEtalonHeight);

    camMountHeightEdit->setText(QString::number(loaded.camMountHeight));
    camAngleSlopeEdit->setText(QString::number(loaded.camAngleSlope));
    minObjectHeightEdit->setText(QString::number(loaded.minObjectHeight));
    minHeadSquareEdit->setText(QString::number(loaded.minHeadSquare));
    maxHumanVelocityEdit->setText(QString::number(loaded.maxHumanVelocity));
    // Tenths of a centimetre on the device, centimetres on screen: 25 shows as 2.5, 20 as 2.
    headSizeEdit->setText(QStringLiteral("%1").arg(loaded.headSize / 10.0, 0, 'g', -1));
    minTrackLenghtEdit->setText(QString::number(loaded.minTrackLenght));
    minLostObjectFramesEdit->setText(QString::number(loaded.minLostObjectFrames));
    etalonHeightEdit->setText(QString::number(loaded.etalonHeight));
}

bool KoClientOptions::HeadSizeTenths(const QString& text, int32_t* tenths)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,7})(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    int32_t value = match.captured(1).toInt() * 10;
    const QString fraction = match.captured(2);
    if (!fraction.isEmpty())
        value += fraction.at(0).digitValue();
    // The hundredths alone decide: 2.05 and above round up, 2.049 does not.
    if (fraction.size() > 1 && fraction.at(1).digitValue() >= 5)
        ++value;
    *tenths = value;
    return true;
}

// Reads and checks the rows in screen order; the first bad row stops the check.
KoClientOptions::Failure KoClientOptions::checkInput()
{
    const auto not_a_number = [](QLineEdit* edit) {
        return Failure{edit, tr("%1: \"%2\" is not a whole number. Allowed: %3.")
                                 .arg(fieldName(edit), edit->text(), allowed(edit))};
    };
    const auto out_of_range = [](QLineEdit* edit) {
        return Failure{edit, tr("%1: %2 is out of range. Allowed: %3.")
                                 .arg(fieldName(edit), edit->text(), allowed(edit))};
    };
    int value = 0;

    if (!parseInt(camMountHeightEdit, value))
        return not_a_number(camMountHeightEdit);
    if (value < 101)
        return out_of_range(camMountHeightEdit);
    options.camMountHeight = value;

    if (!parseInt(camAngleSlopeEdit, value))
        return not_a_number(camAngleSlopeEdit);
    if (value < -80 || value > 80)
        return out_of_range(camAngleSlopeEdit);
    options.camAngleSlope = value;

    if (!parseInt(minObjectHeightEdit, value))
        return not_a_number(minObjectHeightEdit);
    if (value < 6 || value >= options.camMountHeight)
        return out_of_range(minObjectHeightEdit);
    options.minObjectHeight = value;

    if (!parseInt(minHeadSquareEdit, value))
        return not_a_number(minHeadSquareEdit);
    options.minHeadSquare = value;

    if (!parseInt(maxHumanVelocityEdit, value))
        return not_a_number(maxHumanVelocityEdit);
    if (value < 1)
        return out_of_range(maxHumanVelocityEdit);
    options.maxHumanVelocity = value;

    // What is sent is what the dialog shows next time, so the check is made
    // on the rounded value: 2.01 would go out as 2.0, which is refused.
    int32_t tenths = 0;
    if (!HeadSizeTenths(headSizeEdit->text(), &tenths))
        return Failure{headSizeEdit, tr("%1: \"%2\" is not a number such as 2.5. Allowed: %3.")
                                         .arg(fieldName(headSizeEdit), headSizeEdit->text(),
                                              allowed(headSizeEdit))};
    if (tenths <= 20)
        return Failure{headSizeEdit,
                       tr("%1: %2 rounds to %3. Allowed: %4.")
                           .arg(fieldName(headSizeEdit), headSizeEdit->text(),
                                QString::number(tenths / 10.0, 'f', 1), allowed(headSizeEdit))};
    options.headSize = tenths;

    if (!parseInt(minTrackLenghtEdit, value))
        return not_a_number(minTrackLenghtEdit);
    if (value < 3)
        return out_of_range(minTrackLenghtEdit);
    options.minTrackLenght = value;

    if (!parseInt(minLostObjectFramesEdit, value))
        return not_a_number(minLostObjectFramesEdit);
    if (value < 1 || value >= options.minTrackLenght)
        return out_of_range(minLostObjectFramesEdit);
    options.minLostObjectFrames = value;

    if (!parseInt(etalonHeightEdit, value))
        return not_a_number(etalonHeightEdit);
    if (value != 0 && value < 31)
        return out_of_range(etalonHeightEdit);
    options.etalonHeight = value;

    return Failure();
}

void KoClientOptions::sOkClicked()
{
    const Failure failure = checkInput();
    if (failure.edit) {
        QMessageBox::warning(this, tr("Error"),
                             tr("Incorrect parameters") + QStringLiteral("\n\n") + failure.text,
                             QMessageBox::Ok);
        failure.edit->setFocus();
        failure.edit->selectAll();
        return;
    }
    options.camViewAngle = 0;
    if (sender && !sender(pass, options))
        return;
    emit eOkClicked(pass, options);
    if (dialog)
        dialog->close();
}

void KoClientOptions::sCancelClicked()
{
    if (dialog)
        dialog->close();
}
