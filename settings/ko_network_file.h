#pragma once

#include <QString>

// "network.txt": the host name and port of the device, written by the
// connection dialog and read by it and by the live view at start-up.
class KoNetworkFile
{
public:
    // The file in the application data folder.
    static QString Path();

    // Reads the file at path. A HOST_NAME that is an address or a host name
    // (blanks around it dropped) replaces host, a PORT from 1 to 65535
    // replaces port; anything else leaves them as they were, with a line in
    // the debug log. False when the file cannot be read.
    static bool Read(const QString& path, QString& host, quint16& port);

    // The two lines the dialog stores; false, with the reason in error and
    // the old file kept, when the file cannot be written.
    static bool Write(const QString& path, const QString& host, quint16 port,
                      QString* error = nullptr);
};
