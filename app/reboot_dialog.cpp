#include "reboot_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

RebootDialog::RebootDialog(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Reboot device?"), this));

    auto* buttons = new QHBoxLayout();
    auto* ok_button = new QPushButton(tr("Ok"), this);
    auto* cancel_button = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(ok_button);
    buttons->addWidget(cancel_button);
    layout->addLayout(buttons);

    connect(ok_button, &QPushButton::clicked, this, &RebootDialog::sOkClicked);
    connect(cancel_button, &QPushButton::clicked, this, &RebootDialog::sCancelClicked);
}

void RebootDialog::sOkClicked()
{
    if (sender && !sender())
        return;
    emit eOkClicked();
    close();
}

void RebootDialog::sCancelClicked()
{
    close();
}
