#pragma once

// The small editors' rows: a label and a line edit in a grid, each at least
// 100 pixels wide and as wide as its text needs in the language shown, and
// the OK and Cancel buttons below them.

#include <QString>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace ko_form_rows {

// Adds a row to rows; the edit gets object_name, so tests can find it.
QLineEdit* AddEditRow(QWidget* owner, QGridLayout* rows, const QString& label,
                      const QString& object_name);

struct Buttons
{
    QPushButton* ok;
    QPushButton* cancel;
};
Buttons AddOkCancel(QWidget* owner, QVBoxLayout* layout);

} // namespace ko_form_rows
