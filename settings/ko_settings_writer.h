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
    // A file that holds a password is readable and writable by its owner only.
    void SetOwnerOnly(bool owner_only) { ownerOnly = owner_only; }
    // False, with the old file left as it was, when it cannot be written;
    // error then gets the reason.
    bool Save(const QString& path, QString* error = nullptr) const;

    // Replaces the file at path with bytes through a temporary that is
    // flushed before it takes the file's place.
    static bool SaveBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                          bool owner_only = false);

    // Whether a text value reads back as it is written: the reader ends a
    // value at a blank, a tab, ";" or a line break, and takes "default" for
    // a key the file did not give.
    static bool CanHold(const QString& value);

    // Per-pass file names: "params%0.txt" -> "params1.txt" for pass 1.
    static QString PassFileName(const QString& pattern, int pass_id);

private:
    void AddLine(const std::string& key, const QByteArray& value);

    QByteArray terminator;
    QByteArray bytes;
    bool ownerOnly = false;
};
