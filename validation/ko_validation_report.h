#pragma once

#include "ko_validation_session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

// The report of a door validation: a PDF to hand over (the device, who
// counted where and when, a snapshot of every door, the samples, the figures
// and the verdict) and the samples as CSV, both written whole or not at all.
class KoValidationReport
{
    Q_DECLARE_TR_FUNCTIONS(KoValidationReport)

public:
    const KoValidationSession* session = nullptr;
    double tolerance = 0.05;
    QString address;        // the device, "host:port"
    QDateTime written;      // local time
    QString operatorName;
    QString vehicle;
    QStringList doorLabels; // typed per door, may be empty
    QVector<QImage> snapshots; // per door, may be null

    // One row per sample: its number, start and end in local time, then
    // hand and device counts per door and direction, then all doors.
    QByteArray Csv() const;
    bool WriteCsv(const QString& path, QString* error) const;
    bool WritePdf(const QString& path, QString* error) const;

    // Texts shared with the window.
    static QString Percent(double share, bool sign = true); // "+2.5 %", "—" for no number
    static QString Interval(const KoValidationStats::Figures& f);
    static QString VerdictText(const KoValidationStats::Figures& f);
    // "Door 1 in", "All doors out", "All doors"
    static QString RowName(int door, int direction);
    static QString DoorName(int door, const QString& label);

private:
    static bool Save(const QString& path, const QByteArray& bytes, QString* error);
};
