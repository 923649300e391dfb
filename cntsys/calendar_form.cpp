#include "calendar_form.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CalendarForm::CalendarForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CalendarWnd"));
    setWindowTitle(QStringLiteral("Календарь"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("Calendar"));
    // The unit's forms are Russian whatever the rest: month and day names too.
    calendar->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    auto* ok = new QPushButton(QStringLiteral("Выбрать"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    auto* cancel = new QPushButton(QStringLiteral("Отменить"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::pressed, this, &CalendarForm::sOKBtnPressed);
    connect(cancel, &QPushButton::pressed, this, &CalendarForm::sCancelBtnPressed);
}

void CalendarForm::SetDate(QDate date)
{
    calendar->setSelectedDate(date);
}

void CalendarForm::sOKBtnPressed()
{
    accept();
    emit eClose(true, calendar->selectedDate());
}

void CalendarForm::sCancelBtnPressed()
{
    reject();
    emit eClose(false, calendar->selectedDate());
}
