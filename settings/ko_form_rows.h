#pragma once

// The small editors' rows: a label and a line edit of fixed widths, and the
// OK and Cancel buttons below them.

#include <QString>

class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace ko_form_rows {

// Adds a row to layout; the edit gets object_name, so tests can find it.
QLineEdit* AddEditRow(QWidget* owner, QVBoxLayout* layout, const QString& label,
                      const QString& object_name);

struct Buttons
{
    QPushButton* ok;
    QPushButton* cancel;
};
Buttons AddOkCancel(QWidget* owner, QVBoxLayout* layout);

} // namespace ko_form_rows
