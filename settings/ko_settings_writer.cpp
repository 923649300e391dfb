#include "ko_settings_writer.h"

#include "ko_settings_file.h"

#include <QSaveFile>

KoSettingsWriter::KoSettingsWriter(Terminator kind)
    : terminator(kind == Terminator::CrLf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral(";\r\n"))
{
}

void KoSettingsWriter::AddText(const std::string& key, const QString& value)
{
    QByteArray utf8 = value.toUtf8();
    for (int i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' || utf8[i] == '\n') {
            utf8.truncate(i);
            break;
        }
    }
    AddLine(key, utf8);
}

void KoSettingsWriter::AddNumber(const std::string& key, qlonglong value)
{
    AddLine(key, QByteArray::number(value));
}

bool KoSettingsWriter::Save(const QString& path, QString* error) const
{
    return SaveBytes(path, bytes, error, ownerOnly);
}

bool KoSettingsWriter::SaveBytes(const QString& path, const QByteArray& bytes, QString* error,
                                 bool owner_only)
{
    QSaveFile file(path);
    const auto failed = [&file, error] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    // Unbuffered: every write reaches the disk before it returns, so a full
    // disk is seen here, with its reason. (Qt 5's commit() does not see an
    // error of a buffered final flush and would put the cut file in place.)
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed();
    // Before the first byte, so that the secret is never readable by others.
    if (owner_only && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return failed();
    // A short write is followed by one for the rest, whose failure says why.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return failed();
        done += written;
    }
    if (!file.flush())
        return failed();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool KoSettingsWriter::CanHold(const QString& value)
{
    if (value == QLatin1String(KoSettingsFile::DefaultValue))
        return false;
    for (const QChar c : value) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char(';') ||
            c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    }
    return true;
}

QString KoSettingsWriter::PassFileName(const QString& pattern, int pass_id)
{
    return pattern.arg(pass_id, 0, 10);
}

void KoSettingsWriter::AddLine(const std::string& key, const QByteArray& value)
{
    bytes.append(key.data(), static_cast<int>(key.size()));
    bytes.append(" = ");
    bytes.append(value);
    bytes.append(terminator);
}
