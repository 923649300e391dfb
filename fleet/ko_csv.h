#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// Comma-separated text as spreadsheets write it: fields joined by a
// separator, a field in double quotes when it holds the separator, a quote
// (doubled inside) or a line break; records end with CR LF or LF.
class KoCsv
{
    Q_DECLARE_TR_FUNCTIONS(KoCsv)

public:
    // Splits text into records. At most max_records records of at most
    // max_fields fields are taken; more, a quote left open, or text after a
    // closing quote is an error that names the line. A last empty line is
    // no record.
    static bool Parse(const QString& text, QChar separator, int max_records, int max_fields,
                      QVector<QStringList>* records, QString* error);
    // One record with its CR LF.
    static QString Record(const QStringList& fields, QChar separator);
    // ";" when the header line has semicolons and no commas (what spreadsheets
    // write where the comma is the decimal point), "," otherwise.
    static QChar GuessSeparator(const QString& text);
};
