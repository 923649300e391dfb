#include "ko_apply_dialog.h"

#include "ko_address_book.h"
#include "ko_device_state.h"
#include "ko_fleet.h"

#include "client/ko_http_client/ko_tcp_client.h"
#include "settings/ko_command_outcome.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int SectionRole = Qt::UserRole;

QString deviceText(const QString& name, const QString& host, quint16 port)
{
    const QString address = QStringLiteral("%1:%2").arg(host).arg(port);
    return name.isEmpty() ? address : QStringLiteral("%1 (%2)").arg(name, address);
}

} // namespace

KoApplyDialog::KoApplyDialog(QWidget* parent, KoFleet* fleet_, const KoConfigProfile& profile_,
                             const QString& file_name, int answer_ms)
    : QDialog(parent), fleet(fleet_), profile(profile_)
{
    setWindowTitle(tr("Apply configuration"));
    applier = new KoProfileApplier(fleet->Link(), this, answer_ms);
    connect(applier, &KoProfileApplier::eAnswered, this, &KoApplyDialog::sAnswered);
    connect(applier, &KoProfileApplier::eFinished, this, &KoApplyDialog::sFinished);

    auto* source =
        new QLabel(tr("File %1, saved from %2 on %3.")
                       .arg(QDir::toNativeSeparators(file_name),
                            deviceText(profile.sourceName, profile.sourceHost, profile.sourcePort),
                            KoAddressBook::ShownDate(profile.saved)),
                   this);
    source->setWordWrap(true);
    target = new QLabel(this);
    target->setObjectName(QStringLiteral("target"));
    target->setWordWrap(true);

    tree = new QTreeWidget(this);
    tree->setObjectName(QStringLiteral("sections"));
    tree->setColumnCount(3);
    tree->setHeaderLabels({tr("Section"), tr("On the device"), tr("In the file")});
    tree->setRootIsDecorated(true);
    tree->setUniformRowHeights(true);
    tree->setTextElideMode(Qt::ElideMiddle);
    connect(tree, &QTreeWidget::itemChanged, this, &KoApplyDialog::updateButtons);

    notes = new QLabel(this);
    notes->setWordWrap(true);
    keyLabel = new QLabel(tr("Server key (never kept in a file):"), this);
    keyEdit = new QLineEdit(this);
    keyEdit->setObjectName(QStringLiteral("serverKey"));
    auto* key_row = new QHBoxLayout;
    key_row->addWidget(keyLabel);
    key_row->addWidget(keyEdit, 1);

    report = new QListWidget(this);
    report->setObjectName(QStringLiteral("report"));
    report->setWordWrap(true);

    applyButton = new QPushButton(tr("Apply"), this);
    applyButton->setObjectName(QStringLiteral("apply"));
    auto* close_button = new QPushButton(tr("Close"), this);
    close_button->setAutoDefault(false);
    connect(applyButton, &QPushButton::clicked, this, &KoApplyDialog::sApply);
    connect(close_button, &QPushButton::clicked, this, &KoApplyDialog::reject);
    connect(fleet, &KoFleet::eSendingAllowedChanged, this, &KoApplyDialog::updateButtons);
    auto* button_row = new QHBoxLayout;
    button_row->addStretch(1);
    button_row->addWidget(applyButton);
    button_row->addWidget(close_button);

    auto* column = new QVBoxLayout(this);
    column->addWidget(source);
    column->addWidget(target);
    column->addWidget(tree, 3);
    column->addWidget(notes);
    column->addLayout(key_row);
    column->addWidget(new QLabel(tr("The device's answers:"), this));
    column->addWidget(report, 1);
    column->addLayout(button_row);

    const int chars = fontMetrics().averageCharWidth();
    QSize size(120 * chars, 38 * fontMetrics().height());
    if (const QScreen* screen = parent ? parent->screen() : nullptr)
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    fill();
}

void KoApplyDialog::fill()
{
    sections = KoProfilePlan::Make(profile, *fleet->State());

    KoTcpClient* link = fleet->Link();
    target->setText(tr("Applied to %1.")
                        .arg(deviceText(fleet->CurrentName(), link ? link->HostName() : QString(),
                                        link ? link->Port() : 0)));

    const QSignalBlocker quiet(tree);
    tree->clear();
    bool server = false;
    for (int i = 0; i < sections.size(); ++i) {
        const KoProfilePlan::Section& s = sections[i];
        auto* item = new QTreeWidgetItem(tree, {s.title});
        item->setData(0, SectionRole, i);
        if (s.blocked.isEmpty()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            // What changes is chosen; the rest can be.
            item->setCheckState(0, s.changed ? Qt::Checked : Qt::Unchecked);
            if (!s.changed)
                item->setText(1, tr("no change"));
        } else {
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable));
        }
        for (const KoProfilePlan::Row& row : s.rows) {
            auto* child = new QTreeWidgetItem(
                item, {row.label, row.known ? row.now : tr("not known"), row.proposed});
            for (int c = 0; c < 3; ++c)
                child->setToolTip(c, child->text(c));
            if (row.changed) {
                QFont bold = child->font(2);
                bold.setBold(true);
                child->setFont(2, bold);
            }
        }
        server = server || s.step.kind == KoProfileApplier::Kind::Server;
    }
    // The titles and labels whole; what the device has and what the file
    // has share the rest.
    tree->expandAll();
    tree->resizeColumnToContents(0);
    splitColumns();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        const KoProfilePlan::Section& s = sections[item->data(0, SectionRole).toInt()];
        if (!s.blocked.isEmpty()) {
            // Why, whole and first under the title, across every column.
            auto* why = new QTreeWidgetItem({tr("cannot be applied: %1").arg(s.blocked)});
            item->insertChild(0, why);
            why->setFirstColumnSpanned(true);
            why->setToolTip(0, why->text(0));
        }
        item->setExpanded(s.changed || !s.blocked.isEmpty());
    }
    keyLabel->setVisible(server);
    keyEdit->setVisible(server);

    QStringList note_lines;
    for (const KoConfigProfile::Door& door : profile.doors) {
        if (door.hasCameras)
            note_lines << KoProfilePlan::CamerasNote(door);
    }
    if (sections.isEmpty())
        note_lines << tr("The file holds nothing that can be applied.");
    notes->setText(note_lines.join(QLatin1Char('\n')));
    notes->setVisible(!note_lines.isEmpty());
    updateButtons();
}

void KoApplyDialog::splitColumns()
{
    const int rest = qMax(0, width() - tree->columnWidth(0) - 4 * fontMetrics().averageCharWidth());
    tree->setColumnWidth(1, rest / 2);
}

void KoApplyDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    splitColumns();
}

void KoApplyDialog::Choose(int section, bool chosen)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item->data(0, SectionRole).toInt() == section &&
            (item->flags() & Qt::ItemIsUserCheckable))
            item->setCheckState(0, chosen ? Qt::Checked : Qt::Unchecked);
    }
}

bool KoApplyDialog::Chosen(int section) const
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item->data(0, SectionRole).toInt() == section)
            return (item->flags() & Qt::ItemIsUserCheckable) && item->checkState(0) == Qt::Checked;
    }
    return false;
}

void KoApplyDialog::updateButtons()
{
    bool any = false;
    for (int i = 0; i < sections.size(); ++i)
        any = any || Chosen(i);
    applyButton->setEnabled(any && !applier->Busy() && fleet->SendingAllowed());
    tree->setEnabled(!applier->Busy());
    keyEdit->setEnabled(!applier->Busy());
}

void KoApplyDialog::sApply()
{
    if (applier->Busy() || !fleet->SendingAllowed())
        return;
    QVector<KoProfileApplier::Step> steps;
    running.clear();
    for (int i = 0; i < sections.size(); ++i) {
        if (!Chosen(i))
            continue;
        KoProfileApplier::Step step = sections[i].step;
        if (step.kind == KoProfileApplier::Kind::Server)
            step.settings = QStringList{step.settings.value(0), keyEdit->text()};
        steps << step;
        running << i;
    }
    if (steps.isEmpty())
        return;
    report->clear();
    summary.clear();
    fleet->SetApplying(true);
    applier->Start(steps);
    updateButtons();
}

void KoApplyDialog::sAnswered(int index, KoProfileApplier::Outcome outcome, const QString& detail)
{
    const QString title = sections[running[index]].title;
    QString text;
    switch (outcome) {
    case KoProfileApplier::Outcome::Taken:
        text = tr("%1: taken by the device.").arg(title);
        break;
    case KoProfileApplier::Outcome::Refused:
        text = tr("%1: refused by the device (%2).").arg(title, detail);
        break;
    case KoProfileApplier::Outcome::NoAnswer:
        text = tr("%1: no answer from the device.").arg(title);
        break;
    case KoProfileApplier::Outcome::NotSent:
        text = tr("%1: not sent, there is no connection to the device.").arg(title);
        break;
    case KoProfileApplier::Outcome::LinkLost:
        text = tr("%1: the connection was lost before the device answered.").arg(title);
        break;
    }
    auto* item = new QListWidgetItem(text, report);
    if (outcome != KoProfileApplier::Outcome::Taken)
        item->setForeground(QColor(0xb0, 0x00, 0x20));
    report->scrollToItem(item);
}

void KoApplyDialog::sFinished(int taken, int total)
{
    fleet->SetApplying(false);
    if (taken == total) {
        summary = tr("All chosen sections applied (%1).").arg(total);
    } else {
        QStringList applied;
        for (int i = 0; i < taken; ++i)
            applied << sections[running[i]].title;
        summary = tr("Stopped at \"%1\".").arg(sections[running[taken]].title) + QLatin1Char(' ') +
                  (applied.isEmpty()
                       ? tr("Nothing was applied.")
                       : tr("Applied before it: %1.").arg(applied.join(QStringLiteral("; "))));
    }
    auto* item = new QListWidgetItem(summary, report);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    report->scrollToItem(item);
    KoCommandOutcome::Confirm(parentWidget(), summary);
    // What the device holds now.
    fill();
}

void KoApplyDialog::reject()
{
    // The run stops with the dialog; what was sent stays sent.
    if (applier->Busy()) {
        if (QMessageBox::question(this, windowTitle(),
                                  tr("The configuration is being applied. Stop waiting for the "
                                     "device's answers?"),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes)
            return;
        applier->Stop();
        fleet->SetApplying(false);
    }
    QDialog::reject();
}
