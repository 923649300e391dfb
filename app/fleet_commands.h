#pragma once

#include <QCoreApplication>

class KoFleet;
class QWidget;

// The File menu's configuration entries as the main window runs them: "Save
// configuration…" writes everything known of the connected device to a file
// of the operator's choice, "Apply configuration…" reads one and opens the
// dialog that applies it (a damaged file or one of a newer format is refused
// with the reason).
class FleetCommands
{
    Q_DECLARE_TR_FUNCTIONS(FleetCommands)

public:
    static void SaveConfiguration(QWidget* window, KoFleet* fleet);
    static void ApplyConfiguration(QWidget* window, KoFleet* fleet);
    static void AddressBook(QWidget* window, KoFleet* fleet);
};
