#include "ko_client_options.h"

#include "ko_mount_ranges.h"
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

// atoi semantics (leading blanks, sign, digits, 0 for anything else) without
// its undefined behaviour on values beyond int: those saturate.
int valueToInt(const std::string& value)
{
    if (value == KoSettingsFile::DefaultValue)
        return 0;
    const long parsed = std::strtol(value.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(parsed, INT_MIN, INT_MAX));
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

QValidator* intValidator(int bottom, int top, QObject* parent)
{
    auto* validator = new QIntValidator(bottom, top, parent);
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

    using Ranges = KoMountRanges;
    const char* const names[Ranges::FieldCount] = {
        "camMountHeight", "camAngleSlope",       "minObjectHeight",
        "minHeadSquare",  "maxHumanVelocity",    "headSize",
        "minTrackLenght", "minLostObjectFrames", "etalonHeight"};
    for (int f = 0; f < Ranges::FieldCount; ++f) {
        const auto field = static_cast<Ranges::Field>(f);
        edits[size_t(f)] =
            addRow(Ranges::Label(field), QLatin1String(names[f]), Ranges::Allowed(field));
    }
    camMountHeightEdit = edits[Ranges::MountHeight];
    camAngleSlopeEdit = edits[Ranges::AngleSlope];
    minObjectHeightEdit = edits[Ranges::MinObjectHeight];
    minHeadSquareEdit = edits[Ranges::MinHeadSquare];
    maxHumanVelocityEdit = edits[Ranges::MaxHumanVelocity];
    headSizeEdit = edits[Ranges::HeadSize];
    minTrackLenghtEdit = edits[Ranges::MinTrackLenght];
    minLostObjectFramesEdit = edits[Ranges::MinLostObjectFrames];
    etalonHeightEdit = edits[Ranges::EtalonHeight];

    // The object size is the device's own measure: shown and sent back as it came.
    minHeadSquareEdit->setEnabled(false);

    // Typing is held to what can still become a value of the row; the
    // ranges that depend on another row are checked on "Ok".
    for (const Ranges::Field field :
         {Ranges::MountHeight, Ranges::MinObjectHeight, Ranges::MaxHumanVelocity,
          Ranges::MinTrackLenght, Ranges::MinLostObjectFrames, Ranges::EtalonHeight})
        edits[size_t(field)]->setValidator(intValidator(Ranges::Bottom(field), INT_MAX, this));
    camAngleSlopeEdit->setValidator(
        intValidator(Ranges::Bottom(Ranges::AngleSlope), Ranges::MaxSlope, this));
    headSizeEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,7}(\\.[0-9]{0,3})?")), this));

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
    using Ranges = KoMountRanges;
    KoSettingsFile file;
    for (int f = 0; f < Ranges::FieldCount; ++f)
        file.AddKey(Ranges::Key(static_cast<Ranges::Field>(f)));

    const QString path = KoSettingsWriter::PassFileName(QStringLiteral("params%0.txt"), pass);
    if (!file.Load(path.toStdString())) {
        qCDebug(lcSettings) << "no parameter file" << path;
        return;
    }
    for (int f = 0; f < Ranges::FieldCount; ++f) {
        const auto field = static_cast<Ranges::Field>(f);
        edits[size_t(f)]->setText(
            Ranges::Shown(field, valueToInt(file.Values[Ranges::Key(field)])));
    }
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
    using Ranges = KoMountRanges;
    for (int f = 0; f < Ranges::FieldCount; ++f) {
        const auto field = static_cast<Ranges::Field>(f);
        QLineEdit* edit = edits[size_t(f)];
        bool ok = false;
        int32_t value = 0;
        if (field == Ranges::HeadSize) {
            // What is sent is what the dialog shows next time, so the check is
            // made on the rounded value: 2.01 would go out as 2.0, which is refused.
            if (!HeadSizeTenths(edit->text(), &value))
                return Failure{edit, tr("%1: \"%2\" is not a number such as 2.5. Allowed: %3.")
                                         .arg(fieldName(edit), edit->text(), allowed(edit))};
            if (!Ranges::Fits(field, value, options))
                return Failure{edit,
                               tr("%1: %2 rounds to %3. Allowed: %4.")
                                   .arg(fieldName(edit), edit->text(),
                                        QString::number(value / 10.0, 'f', 1), allowed(edit))};
        } else {
            value = edit->text().toInt(&ok, 10);
            if (!ok)
                return Failure{edit, tr("%1: \"%2\" is not a whole number. Allowed: %3.")
                                         .arg(fieldName(edit), edit->text(), allowed(edit))};
            // A row checked against an earlier one sees that row's value in options.
            if (!Ranges::Fits(field, value, options))
                return Failure{edit, tr("%1: %2 is out of range. Allowed: %3.")
                                         .arg(fieldName(edit), edit->text(), allowed(edit))};
        }
        Ranges::Set(options, field, value);
    }
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
