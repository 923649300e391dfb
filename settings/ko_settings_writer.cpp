#include "ko_settings_writer.h"

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

bool KoSettingsWriter::Save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Qt 5's commit() does not see an error of the final flush (a full disk
    // after a short write) and would put the cut file in place: flush first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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
