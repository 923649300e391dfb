#pragma once

#include <QDialog>

class KoFleet;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The address book: the devices of the fleet in a table that a search
// narrows as it is typed, added, edited and removed here, imported from and
// exported to CSV, and connected to: "Connect" aims the link at the chosen
// device as "Lan options" does, and closes the book.
class KoAddressBookWindow : public QDialog
{
    Q_OBJECT

public:
    KoAddressBookWindow(QWidget* parent, KoFleet* fleet);

    // The book's index of the row chosen in the table, -1 when none.
    int Chosen() const;

public slots:
    void sSearch(const QString& text);
    void sAdd();
    void sEdit();
    void sRemove();
    void sConnect();
    void sImport();
    void sExport();

private:
    void fill();
    void updateButtons();
    // Writes the changed book; a failure is said.
    void keep(const class KoAddressBook& book);

    KoFleet* fleet;
    QLabel* problem = nullptr;
    QLineEdit* searchEdit = nullptr;
    QTableWidget* table = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* connectButton = nullptr;
};
