#include "options_dialog.h"

#include <QVBoxLayout>

OptionsDialog::OptionsDialog(QWidget* parent, int pass_id) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    content = new KoClientOptions(this, pass_id);
    layout->addWidget(content);
    setWindowTitle(tr("Mount options"));
    connect(content, &KoClientOptions::eOkClicked, this, &OptionsDialog::eOkClicked);
}

void OptionsDialog::SetSender(KoClientOptions::Sender send)
{
    content->SetSender(std::move(send));
}
