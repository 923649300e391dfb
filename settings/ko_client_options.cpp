#include "ko_client_options.h"

#include "ko_settings_file.h"
#include "ko_settings_log.h"
#include "ko_settings_writer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>
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

} // namespace

KoClientOptions::KoClientOptions(QWidget* dialog, int pass_id)
    : QWidget(dialog), dialog(dialog), pass(pass_id)
{
    auto* layout = new QVBoxLayout(this);
    setLayout(layout);

    camMountHeightEdit = addRow(tr("Camera mount height (sm.):"), QStringLiteral("camMountHeight"));
    camAngleSlopeEdit = addRow(tr("Camera slope angle (dg.):"), QStringLiteral("camAngleSlope"));
    minObjectHeightEdit = addRow(tr("Min. object heght (sm.)"), QStringLiteral("minObjectHeight"));
    minHeadSquareEdit = addRow(tr("Object size (pix.):"), QStringLiteral("minHeadSquare"));
    maxHumanVelocityEdit =
        addRow(tr("Max object velocity (km/h.):"), QStringLiteral("maxHumanVelocity"));
    headSizeEdit = addRow(tr("Head size (sm.):"), QStringLiteral("headSize"));
    minTrackLenghtEdit = addRow(tr("Min track lenght (frames):"), QStringLiteral("minTrackLenght"));
    minLostObjectFramesEdit =
        addRow(tr("Lost object lenght (frames):"), QStringLiteral("minLostObjectFrames"));
    etalonHeightEdit = addRow(tr("Etalon height (sm.):"), QStringLiteral("etalonHeight"));

    // The object size is the device's own measure: shown and sent back as it came.
    minHeadSquareEdit->setEnabled(false);

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

QLineEdit* KoClientOptions::addRow(const QString& label, const QString& object_name)
{
    auto* row = new QHBoxLayout();
    auto* text = new QLabel(label, this);
    text->setFixedSize(150, 15);
    auto* edit = new QLineEdit(this);
    edit->setMaximumWidth(50);
    edit->setObjectName(object_name);
    row->addWidget(text);
    row->addWidget(edit);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
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

// Reads and checks the rows in screen order; the first bad row stops the check.
bool KoClientOptions::checkInput()
{
    int value = 0;

    if (!parseInt(camMountHeightEdit, value) || value < 101)
        return false;
    options.camMountHeight = value;

    if (!parseInt(camAngleSlopeEdit, value) || value < -80 || value > 80)
        return false;
    options.camAngleSlope = value;

    if (!parseInt(minObjectHeightEdit, value) || value < 6 || value >= options.camMountHeight)
        return false;
    options.minObjectHeight = value;

    if (!parseInt(minHeadSquareEdit, value))
        return false;
    options.minHeadSquare = value;

    if (!parseInt(maxHumanVelocityEdit, value) || value < 1)
        return false;
    options.maxHumanVelocity = value;

    bool ok = false;
    const float head_size = headSizeEdit->text().toFloat(&ok);
    if (!ok || !(head_size > 2.0f))
        return false;
    // Tenths of a centimetre, truncated; the single-precision value is what
    // the operator's text becomes, so 2.3 gives 22. Sizes whose tenths do not
    // fit the record (or "inf") are refused rather than wrapped.
    const double tenths = std::trunc(static_cast<double>(head_size) * 10.0);
    if (!(tenths <= static_cast<double>(INT32_MAX)))
        return false;
    options.headSize = static_cast<int32_t>(tenths);

    if (!parseInt(minTrackLenghtEdit, value) || value < 3)
        return false;
    options.minTrackLenght = value;

    if (!parseInt(minLostObjectFramesEdit, value) || value < 1 || value >= options.minTrackLenght)
        return false;
    options.minLostObjectFrames = value;

    if (!parseInt(etalonHeightEdit, value) || (value != 0 && value < 31))
        return false;
    options.etalonHeight = value;

    return true;
}

void KoClientOptions::sOkClicked()
{
    if (!checkInput()) {
        QMessageBox::warning(this, tr("Error"), tr("Incorrect parameters"), QMessageBox::Ok);
        return;
    }
    options.camViewAngle = 0;
    emit eOkClicked(pass, options);
    if (dialog)
        dialog->close();
}

void KoClientOptions::sCancelClicked()
{
    if (dialog)
        dialog->close();
}
