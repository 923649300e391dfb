#pragma once

#include <QDialog>
#include <QStringList>

// Host of the server address editor.
class ChangeIPDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ChangeIPDialog(QWidget* parent = nullptr);

signals:
    void eOkClicked(const QStringList& settings);
};
