#pragma once

#include <QString>

// The application data folder, where every settings file and the system
// unit's change log live. Held as a path ending in "/", or empty when the
// folder cannot be made.
class KoAppData
{
public:
    static const char* const FolderName;

    // The folder of this run, built on first use from the environment:
    // $PROGRAMDATA/Velmora when PROGRAMDATA is set, otherwise the user's data
    // location/Velmora.
    static QString Folder();

    // Builds (and creates) the folder from the value of PROGRAMDATA and the
    // user's generic data location; either may be empty.
    static QString Build(const QString& program_data, const QString& generic_data);

    // "configurator.ini" in the data folder: the tool's own remembered
    // choices (window geometry, last tab, the file dialogs' folders), read
    // and written through QSettings in its ini format.
    static QString IniPath();

    // The folder a file dialog (named by key) was last left in, or fallback.
    // Kept in "configurator.ini" in the data folder, like every other setting
    // of the tool.
    static QString LastFolder(const QString& key, const QString& fallback);
    static void SetLastFolder(const QString& key, const QString& folder);
};
