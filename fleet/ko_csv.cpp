#include "ko_csv.h"

bool KoCsv::Parse(const QString& text, QChar separator, int max_records, int max_fields,
                  QVector<QStringList>* records, QString* error)
{
    records->clear();
    QStringList record;
    QString field;
    int line = 1;
    int i = 0;
    const int n = text.size();
    const auto fail = [&](const QString& why) {
        if (error)
            *error = tr("line %1: %2").arg(line).arg(why);
        records->clear();
        return false;
    };
    // Ends the field at i; false when the record has too many.
    const auto endField = [&] {
        if (record.size() >= max_fields)
            return false;
        record << field;
        field.clear();
        return true;
    };
    while (i < n) {
        bool quoted = false;
        if (text.at(i) == QLatin1Char('"')) {
            quoted = true;
            const int opened_on = line;
            ++i;
            for (;;) {
                if (i >= n) {
                    line = opened_on;
                    return fail(tr("a quote is not closed"));
                }
                const QChar c = text.at(i++);
                if (c == QLatin1Char('"')) {
                    if (i < n && text.at(i) == QLatin1Char('"')) {
                        field += c;
                        ++i;
                        continue;
                    }
                    break;
                }
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
        }
        // Up to the separator or the line's end.
        while (i < n && text.at(i) != separator && text.at(i) != QLatin1Char('\n') &&
               !(text.at(i) == QLatin1Char('\r') && i + 1 < n &&
                 text.at(i + 1) == QLatin1Char('\n'))) {
            if (quoted)
                return fail(tr("text after a closing quote"));
            field += text.at(i++);
        }
        if (!endField())
            return fail(tr("more than %1 fields").arg(max_fields));
        if (i < n && text.at(i) == separator) {
            ++i;
            if (i == n && !endField()) // a separator at the very end: one more, empty
                return fail(tr("more than %1 fields").arg(max_fields));
            continue;
        }
        // The line's end (or the text's).
        if (i < n && text.at(i) == QLatin1Char('\r'))
            ++i;
        if (i < n)
            ++i;
        if (records->size() >= max_records)
            return fail(tr("more than %1 lines").arg(max_records));
        records->append(record);
        record.clear();
        ++line;
    }
    if (!record.isEmpty()) {
        if (records->size() >= max_records)
            return fail(tr("more than %1 lines").arg(max_records));
        records->append(record);
    }
    return true;
}

QString KoCsv::Record(const QStringList& fields, QChar separator)
{
    QStringList shown;
    for (const QString& field : fields) {
        if (field.contains(separator) || field.contains(QLatin1Char('"')) ||
            field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
            QString quoted = field;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            shown << QLatin1Char('"') + quoted + QLatin1Char('"');
        } else {
            shown << field;
        }
    }
    return shown.join(separator) + QStringLiteral("\r\n");
}

QChar KoCsv::GuessSeparator(const QString& text)
{
    const QString header = text.left(text.indexOf(QLatin1Char('\n')));
    return header.contains(QLatin1Char(';')) && !header.contains(QLatin1Char(','))
               ? QLatin1Char(';')
               : QLatin1Char(',');
}
