#include "ko_form_rows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ko_form_rows {

QLineEdit* AddEditRow(QWidget* owner, QGridLayout* rows, const QString& label,
                      const QString& object_name)
{
    auto* text = new QLabel(label, owner);
    text->setMinimumWidth(100);
    auto* edit = new QLineEdit(owner);
    edit->setMinimumWidth(100);
    edit->setObjectName(object_name);
    const int row = rows->count() / 2; // two widgets a row
    rows->addWidget(text, row, 0);
    rows->addWidget(edit, row, 1);
    return edit;
}

Buttons AddOkCancel(QWidget* owner, QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout();
    Buttons buttons{new QPushButton(owner), new QPushButton(owner)};
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    layout->addLayout(row);
    return buttons;
}

} // namespace ko_form_rows
