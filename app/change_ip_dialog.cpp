#include "change_ip_dialog.h"

#include "settings/ko_ip_changer.h"

#include <QVBoxLayout>

ChangeIPDialog::ChangeIPDialog(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* changer = new KoIpChanger(this);
    layout->addWidget(changer);
    setWindowTitle(tr("Server IP dialog"));
    connect(changer, &KoIpChanger::eOkClicked, this, &ChangeIPDialog::eOkClicked);
}
