#include "options_dialog.h"

#include "settings/ko_client_options.h"

#include <QVBoxLayout>

OptionsDialog::OptionsDialog(QWidget* parent, int pass_id) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* options = new KoClientOptions(this, pass_id);
    layout->addWidget(options);
    setWindowTitle(tr("Mount options"));
    connect(options, &KoClientOptions::eOkClicked, this, &OptionsDialog::eOkClicked);
}
