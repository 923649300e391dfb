#include "ko_address_book_window.h"

#include "ko_address_book.h"
#include "ko_device_editor.h"
#include "ko_fleet.h"

#include "settings/ko_app_data.h"
#include "settings/ko_settings_writer.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const CsvFolderKey = "fleet/csvFolder";

enum Column
{
    NameColumn,
    VehicleColumn,
    DoorsColumn,
    AddressColumn,
    LastColumn,
    SoftwareColumn,
    NotesColumn,
    ColumnCount
};

constexpr int SortRole = Qt::UserRole + 1;

// Sorted by its text, or by the moment it shows where it has one.
class Item : public QTableWidgetItem
{
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override
    {
        const QVariant mine = data(SortRole), theirs = other.data(SortRole);
        if (mine.isValid() || theirs.isValid())
            return mine.toDateTime() < theirs.toDateTime();
        return text().localeAwareCompare(other.text()) < 0;
    }
};

QString addressText(const KoFleetDevice& d)
{
    const QString host =
        d.host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(d.host) : d.host;
    return QStringLiteral("%1:%2").arg(host).arg(d.port);
}

} // namespace

KoAddressBookWindow::KoAddressBookWindow(QWidget* parent, KoFleet* fleet_)
    : QDialog(parent), fleet(fleet_)
{
    setWindowTitle(tr("Address book"));

    problem = new QLabel(this);
    problem->setObjectName(QStringLiteral("problem"));
    problem->setWordWrap(true);
    problem->setStyleSheet(QStringLiteral("color: #b00020"));
    if (!fleet->LoadError().isEmpty())
        problem->setText(tr("The address book could not be read: %1. It is kept as it is until "
                            "the book is changed; then it is set aside as \"%2\".")
                             .arg(fleet->LoadError(),
                                  QLatin1String(KoFleet::FileName) + QStringLiteral(".damaged")));
    problem->setVisible(!problem->text().isEmpty());

    searchEdit = new QLineEdit(this);
    searchEdit->setObjectName(QStringLiteral("search"));
    searchEdit->setPlaceholderText(tr("Name, vehicle, address or notes"));
    searchEdit->setClearButtonEnabled(true);
    auto* search_row = new QHBoxLayout;
    search_row->addWidget(new QLabel(tr("Search:"), this));
    search_row->addWidget(searchEdit, 1);

    table = new QTableWidget(0, ColumnCount, this);
    table->setObjectName(QStringLiteral("devices"));
    table->setHorizontalHeaderLabels({tr("Name"), tr("Vehicle"), tr("Doors"), tr("Address"),
                                      tr("Last connected"), tr("Software"), tr("Notes")});
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    // The notes take what the other columns leave.
    table->horizontalHeader()->setSectionResizeMode(NotesColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSortIndicator(NameColumn, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->setWordWrap(false);

    const auto add_button = [this](QVBoxLayout* column, const QString& text, const char* name,
                                   void (KoAddressBookWindow::*slot)()) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        column->addWidget(button);
        return button;
    };
    auto* buttons = new QVBoxLayout;
    connectButton = add_button(buttons, tr("Connect"), "connect", &KoAddressBookWindow::sConnect);
    add_button(buttons, tr("Add…"), "add", &KoAddressBookWindow::sAdd);
    editButton = add_button(buttons, tr("Edit…"), "edit", &KoAddressBookWindow::sEdit);
    removeButton = add_button(buttons, tr("Remove"), "remove", &KoAddressBookWindow::sRemove);
    buttons->addSpacing(fontMetrics().height());
    add_button(buttons, tr("Import CSV…"), "import", &KoAddressBookWindow::sImport);
    add_button(buttons, tr("Export CSV…"), "export", &KoAddressBookWindow::sExport);
    buttons->addStretch(1);
    auto* close_button = new QPushButton(tr("Close"), this);
    close_button->setAutoDefault(false);
    connect(close_button, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close_button);

    auto* middle = new QHBoxLayout;
    middle->addWidget(table, 1);
    middle->addLayout(buttons);
    auto* column = new QVBoxLayout(this);
    column->addWidget(problem);
    column->addLayout(search_row);
    column->addLayout(middle, 1);

    connect(searchEdit, &QLineEdit::textChanged, this, &KoAddressBookWindow::sSearch);
    connect(table, &QTableWidget::itemSelectionChanged, this, &KoAddressBookWindow::updateButtons);
    connect(table, &QTableWidget::cellDoubleClicked, this, &KoAddressBookWindow::sEdit);
    connect(fleet, &KoFleet::eSendingAllowedChanged, this, &KoAddressBookWindow::updateButtons);
    connect(fleet, &KoFleet::eBookChanged, this, &KoAddressBookWindow::fill);

    fill();
    // Room for every column but long notes; never beyond the screen.
    const int chars = fontMetrics().averageCharWidth();
    QSize size(135 * chars, 30 * fontMetrics().height());
    if (const QScreen* screen = parent ? parent->screen() : nullptr)
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
}

int KoAddressBookWindow::Chosen() const
{
    const QList<QTableWidgetItem*> chosen = table->selectedItems();
    if (chosen.isEmpty() || table->isRowHidden(chosen.first()->row()))
        return -1;
    return table->item(chosen.first()->row(), NameColumn)->data(Qt::UserRole).toInt();
}

void KoAddressBookWindow::fill()
{
    const int chosen = Chosen();
    const KoAddressBook& book = fleet->Book();
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(book.devices.size());
    for (int i = 0; i < book.devices.size(); ++i) {
        const KoFleetDevice& d = book.devices[i];
        const QString texts[ColumnCount] = {
            d.name,
            d.vehicle,
            d.doors > 0 ? QString::number(d.doors) : QString(),
            addressText(d),
            KoAddressBook::ShownDate(d.lastConnected),
            d.softwareVersion,
            QString(d.notes).replace(QLatin1Char('\n'), QLatin1Char(' '))};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new Item(texts[c]);
            if (c == LastColumn)
                item->setData(SortRole, d.lastConnected);
            if (c == NotesColumn)
                item->setToolTip(d.notes);
            if (i == fleet->Current()) {
                // The device in use.
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table->setItem(i, c, item);
        }
        table->item(i, NameColumn)->setData(Qt::UserRole, i);
    }
    table->setSortingEnabled(true);
    table->resizeColumnsToContents();
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, NameColumn)->data(Qt::UserRole).toInt() == chosen)
            table->selectRow(row);
    }
    sSearch(searchEdit->text());
}

void KoAddressBookWindow::sSearch(const QString& text)
{
    const KoAddressBook& book = fleet->Book();
    for (int row = 0; row < table->rowCount(); ++row) {
        const int index = table->item(row, NameColumn)->data(Qt::UserRole).toInt();
        table->setRowHidden(row, !KoAddressBook::Matches(book.devices[index], text));
    }
    updateButtons();
}

void KoAddressBookWindow::updateButtons()
{
    const bool chosen = Chosen() >= 0;
    editButton->setEnabled(chosen);
    removeButton->setEnabled(chosen);
    connectButton->setEnabled(chosen && fleet->SendingAllowed());
}

void KoAddressBookWindow::keep(const KoAddressBook& book)
{
    QString why;
    if (!fleet->SetBook(book, &why))
        QMessageBox::warning(this, tr("Error"),
                             tr("The address book could not be written: %1. The change is kept "
                                "until the program ends.")
                                 .arg(why));
    problem->hide();
}

void KoAddressBookWindow::sAdd()
{
    const KoAddressBook& book = fleet->Book();
    if (book.devices.size() >= KoAddressBook::MaxDevices) {
        QMessageBox::warning(this, tr("Error"),
                             tr("The address book holds %1 devices, as many as it can.")
                                 .arg(KoAddressBook::MaxDevices));
        return;
    }
    KoFleetDevice fresh;
    fresh.host.clear();
    KoDeviceEditor editor(this, fresh, [&book](const QString& host, quint16 port) {
        const int twin = book.IndexOf(host, port);
        return twin >= 0 ? tr("\"%1\" has this address").arg(book.devices[twin].name) : QString();
    });
    if (editor.exec() != QDialog::Accepted)
        return;
    KoAddressBook changed = book;
    changed.devices.append(editor.Device());
    keep(changed);
}

void KoAddressBookWindow::sEdit()
{
    const int index = Chosen();
    if (index < 0)
        return;
    const KoAddressBook& book = fleet->Book();
    KoDeviceEditor editor(
        this, book.devices[index], [&book, index](const QString& host, quint16 port) {
            const int twin = book.IndexOf(host, port);
            return twin >= 0 && twin != index
                       ? tr("\"%1\" has this address").arg(book.devices[twin].name)
                       : QString();
        });
    if (editor.exec() != QDialog::Accepted)
        return;
    KoAddressBook changed = fleet->Book();
    changed.devices[index] = editor.Device();
    keep(changed);
}

void KoAddressBookWindow::sRemove()
{
    const int index = Chosen();
    if (index < 0)
        return;
    const QString name = fleet->Book().devices[index].name;
    if (QMessageBox::question(
            this, tr("Address book"), tr("Remove \"%1\" from the address book?").arg(name),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    KoAddressBook changed = fleet->Book();
    changed.devices.remove(index);
    keep(changed);
}

void KoAddressBookWindow::sConnect()
{
    const int index = Chosen();
    if (index < 0 || !fleet->SendingAllowed())
        return;
    QString why;
    if (!fleet->ConnectTo(index, &why))
        QMessageBox::warning(this, tr("Error"),
                             tr("\"network.txt\" could not be written: %1. The device is used "
                                "now, but the next start uses the old address.")
                                 .arg(why));
    accept();
}

void KoAddressBookWindow::sImport()
{
    const QString folder = KoAppData::LastFolder(QLatin1String(CsvFolderKey), QDir::homePath());
    const QString path = QFileDialog::getOpenFileName(this, tr("Import devices"), folder,
                                                      tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    KoAppData::SetLastFolder(QLatin1String(CsvFolderKey), QFileInfo(path).absolutePath());
    QFile file(path);
    QString why;
    KoAddressBook::CsvImport imported;
    if (file.size() > KoAddressBook::MaxFileBytes)
        why = tr("the file is larger than %1 MiB").arg(KoAddressBook::MaxFileBytes / (1024 * 1024));
    else if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else
        KoAddressBook::FromCsv(file.read(KoAddressBook::MaxFileBytes + 1), &imported, &why);
    if (!why.isEmpty()) {
        QMessageBox::warning(
            this, tr("Error"),
            tr("\"%1\" cannot be imported: %2.").arg(QDir::toNativeSeparators(path), why));
        return;
    }
    KoAddressBook changed = fleet->Book();
    int added = 0, updated = 0;
    const int left_out = changed.Merge(imported.devices, &added, &updated);
    keep(changed);
    QString report = tr("%1 added, %2 updated.").arg(added).arg(updated);
    if (left_out > 0)
        report += QLatin1Char(' ') + tr("%1 found no room: the book is full.").arg(left_out);
    if (!imported.skipped.isEmpty()) {
        const int shown = qMin(10, imported.skipped.size());
        report += QStringLiteral("\n\n") + tr("Lines left out:") + QLatin1Char('\n') +
                  imported.skipped.mid(0, shown).join(QLatin1Char('\n'));
        if (imported.skipped.size() > shown)
            report += QLatin1Char('\n') + tr("and %1 more").arg(imported.skipped.size() - shown);
    }
    QMessageBox::information(this, tr("Address book"), report);
}

void KoAddressBookWindow::sExport()
{
    const QString folder = KoAppData::LastFolder(QLatin1String(CsvFolderKey), QDir::homePath());
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export devices"), QDir(folder).filePath(QStringLiteral("addressbook.csv")),
        tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    KoAppData::SetLastFolder(QLatin1String(CsvFolderKey), QFileInfo(path).absolutePath());
    QString why;
    if (!KoSettingsWriter::SaveBytes(path, fleet->Book().ToCsv(), &why))
        QMessageBox::warning(
            this, tr("Error"),
            tr("\"%1\" could not be written: %2.").arg(QDir::toNativeSeparators(path), why));
}
