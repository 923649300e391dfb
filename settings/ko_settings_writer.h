#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// Writer of the key/value settings files: one line per key, in the order
// added, as key, " = ", value and the file's terminator. The file is replaced
// only once it is written whole.
class KoSettingsWriter
{
public:
    enum class Terminator
    {
        CrLf,         // "\r\n": modem.txt, remote.txt
        SemicolonCrLf // ";\r\n": network.txt, params%0.txt, cameras%0.txt, block_net.txt
    };

    explicit KoSettingsWriter(Terminator terminator);

    // Text values are written as they are, in UTF-8, as QString::fromStdString
    // reads them back. A line break would start a line of its own that the
    // reader takes as a further key, so a value ends at its first CR or LF.
    void AddText(const std::string& key, const QString& value);
    void AddNumber(const std::string& key, qlonglong value);

    const QByteArray& Bytes() const { return bytes; }
    // False, with the old file left as it was, when it cannot be written.
    bool Save(const QString& path) const;

    // Per-pass file names: "params%0.txt" -> "params1.txt" for pass 1.
    static QString PassFileName(const QString& pattern, int pass_id);

private:
    void AddLine(const std::string& key, const QByteArray& value);

    QByteArray terminator;
    QByteArray bytes;
};
