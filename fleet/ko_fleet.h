#pragma once

#include "ko_address_book.h"
#include "ko_config_profile.h"

#include <QObject>
#include <QPointer>
#include <QString>

class KoDeviceState;
#include "client/ko_http_client/ko_tcp_client.h"

// The fleet as the main window sees it: the address book kept in the data
// folder, the book's device the link is aimed at, what is known of that
// device, and the one switch that keeps everything here from sending to a
// device (the book's "Connect", "Apply configuration…"), for a time when the
// link must not be touched:
//
//     fleet->SetSendingAllowed(false); // the book cannot connect, nothing is applied
class KoFleet : public QObject
{
    Q_OBJECT

public:
    static const char* const FileName; // "addressbook.json" in the data folder

    // Reads the book at path; a file that cannot be read is said by
    // LoadError and set aside (path + ".damaged") before the first save.
    explicit KoFleet(const QString& path, QObject* parent = nullptr);
    static QString DefaultPath();

    // Follows the link: which device it aims at, when it connects, how many
    // doors the device has.
    void Watch(KoTcpClient* link);
    KoTcpClient* Link() const { return link; }
    KoDeviceState* State() const { return state; }

    const KoAddressBook& Book() const { return book; }
    QString LoadError() const { return loadError; }
    // Replaces the book and writes it; false with the reason when it cannot
    // be written (the new book is used all the same).
    bool SetBook(const KoAddressBook& new_book, QString* error = nullptr);
    // Adds an address typed elsewhere, named by it (by the host alone where
    // the port is the usual one).
    bool AddAddress(const QString& host, quint16 port, QString* error = nullptr);

    // The book's device the link aims at, -1 when none.
    int Current() const { return current; }
    QString CurrentName() const;

    // Aims the link at a device of the book: "network.txt" as "Lan options"
    // writes it, then a reconnection. False with the reason when the file
    // could not be written; the link is aimed at the device all the same.
    bool ConnectTo(int index, QString* error = nullptr);

    // Everything known of the device the link aims at, dated now.
    KoConfigProfile Profile() const;

    void SetSendingAllowed(bool allowed);
    bool SendingAllowed() const { return sendingAllowed; }
    // A configuration is being applied: the device's answers are its report's.
    bool Applying() const { return applying; }
    void SetApplying(bool on) { applying = on; }

signals:
    void eCurrentChanged(const QString& name); // empty: the address is not in the book
    void eBookChanged();
    void eSendingAllowedChanged(bool allowed);
    // A change the tool made on its own (the last connection) could not be written.
    void eSaveFailed(const QString& why);

private:
    bool save(QString* error);
    void findCurrent();
    void sConnected();
    void sPassCount(int pass_cnt);

    QString path;
    KoAddressBook book;
    QString loadError;
    bool setAside = false; // the file on disk is damaged: keep it before writing
    QPointer<KoTcpClient> link;
    KoDeviceState* state = nullptr;
    int current = -1;
    QString currentName;
    bool sendingAllowed = true;
    bool applying = false;
};
