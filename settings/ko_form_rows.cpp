#include "ko_form_rows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ko_form_rows {

QLineEdit* AddEditRow(QWidget* owner, QVBoxLayout* layout, const QString& label,
                      const QString& object_name)
{
    auto* row = new QHBoxLayout();
    auto* text = new QLabel(label, owner);
    text->setFixedWidth(100);
    auto* edit = new QLineEdit(owner);
    edit->setFixedWidth(100);
    edit->setObjectName(object_name);
    row->addWidget(text);
    row->addWidget(edit);
    layout->addLayout(row);
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
