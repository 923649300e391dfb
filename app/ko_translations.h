#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

// The Russian interface: the program's own texts ("tb_client_ru") and, with
// them, Qt's own (file and folder dialogs, message box buttons, the edit
// fields' context menus) from "qtbase_ru". Without the program's file the
// interface stays English, Qt's dialogs included.
class KoTranslations
{
public:
    static const char* const OwnName;
    static const char* const QtName;

    // Where the program's file may be: the working directory at start (where
    // a technician may drop another one), beside the program (the build
    // tree), and the data folder of the prefix the program is installed in.
    static QStringList Folders();

    // Installs both translators in the application and loads the program's
    // file from the first of folders that has it, then Qt's from the same
    // folder, the other folders, or Qt's own translations folder. Returns
    // whether the program's file was loaded.
    bool Load(const QStringList& folders);

    // Where each file was found; empty when it was not.
    QString OwnFolder() const { return ownFolder; }
    QString QtFolder() const { return qtFolder; }

private:
    QTranslator own;
    QTranslator qt;
    QString ownFolder;
    QString qtFolder;
};
