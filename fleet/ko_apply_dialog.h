#pragma once

#include "ko_config_profile.h"
#include "ko_profile_applier.h"
#include "ko_profile_plan.h"

#include <QDialog>
#include <QVector>

class KoFleet;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

// "Apply configuration…": what the file would change on the connected
// device, section by section (now on the device, in the file), a check box
// for each section and door, and the device's answer to each section as it
// is applied. Sections whose values the dialogs would refuse, or whose door
// the device lacks, cannot be chosen.
class KoApplyDialog : public QDialog
{
    Q_OBJECT

public:
    KoApplyDialog(QWidget* parent, KoFleet* fleet, const KoConfigProfile& profile,
                  const QString& file_name, int answer_ms = KoProfileApplier::DefaultAnswerMs);

    // The sections shown; the chosen ones are applied in this order.
    const QVector<KoProfilePlan::Section>& Sections() const { return sections; }
    void Choose(int section, bool chosen);
    bool Chosen(int section) const;
    // The last line of the report: what was applied, or where it stopped.
    QString Summary() const { return summary; }
    bool Busy() const { return applier->Busy(); }

public slots:
    void sApply();
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fill();
    void splitColumns();
    void sAnswered(int index, KoProfileApplier::Outcome outcome, const QString& detail);
    void sFinished(int taken, int total);
    void updateButtons();

    KoFleet* fleet;
    KoConfigProfile profile;
    QVector<KoProfilePlan::Section> sections;
    QVector<int> running; // section of each step of the run
    QString summary;
    KoProfileApplier* applier = nullptr;
    QLabel* target = nullptr;
    QTreeWidget* tree = nullptr;
    QLabel* notes = nullptr;
    QLabel* keyLabel = nullptr;
    QLineEdit* keyEdit = nullptr;
    QListWidget* report = nullptr;
    QPushButton* applyButton = nullptr;
};
