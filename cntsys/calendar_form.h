#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;

// The small date picker "Календарь" of the system settings form.
class CalendarForm : public QDialog
{
    Q_OBJECT

public:
    explicit CalendarForm(QWidget* parent = nullptr);

signals:
    void eClose(bool ok_pressed, QDate date);

public slots:
    void SetDate(QDate date);
    void sOKBtnPressed();
    void sCancelBtnPressed();

private:
    QCalendarWidget* calendar = nullptr;
};
