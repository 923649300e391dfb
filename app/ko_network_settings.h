#pragma once

#include "ko_device_records.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;

// Content of the "Lan options" dialog: the device's host name and port,
// checked, stored in "network.txt" and emitted on "Ok".
class KoNetworkSettings : public QWidget
{
    Q_OBJECT

public:
    explicit KoNetworkSettings(QWidget* parent = nullptr);

    // Shows a warning box (parent, title, text). Tests replace it so that
    // nothing modal blocks them.
    using WarningBox = std::function<void(QWidget*, const QString&, const QString&)>;
    static WarningBox warningBox;

    static QString FilePath();

    // Offers to add a typed address that the book does not know (known
    // tells) to the address book: a check box, ticked with one click, after
    // which "Ok" also emits eAddToBook.
    using BookCheck = std::function<bool(const QString& host, quint16 port)>;
    void OfferBook(BookCheck known);
    QCheckBox* addToBook = nullptr;

    QLineEdit* hostEdit = nullptr;
    QLineEdit* portEdit = nullptr;
    KoNetworkOptions options;

signals:
    void eOkClicked(KoNetworkOptions options);
    void eAddToBook(KoNetworkOptions options);

public slots:
    void sOkClicked();
    void sCancelClicked();

private:
    void updateBookOffer();

    BookCheck bookKnows;
    QWidget* owner = nullptr; // closed on "Ok" and "Cancel"; not owned
};
