#include "change_ip_dialog.h"

#include <QVBoxLayout>

ChangeIPDialog::ChangeIPDialog(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    content = new KoIpChanger(this);
    layout->addWidget(content);
    setWindowTitle(tr("Server IP dialog"));
    connect(content, &KoIpChanger::eOkClicked, this, &ChangeIPDialog::eOkClicked);
}

void ChangeIPDialog::SetSender(KoIpChanger::Sender send)
{
    content->SetSender(std::move(send));
}
