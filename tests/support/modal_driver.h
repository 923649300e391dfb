#pragma once

// Answers the modal windows that come up while a test runs, from inside their
// own event loops: message boxes are recorded and closed with their first
// button, any other dialog is handed to onDialog once (which closes it).

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <functional>

class ModalDriver : public QObject
{
public:
    struct Box
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QWidget* parent;
        QMessageBox::StandardButtons buttons;
    };

    QList<Box> boxes;
    std::function<void(QDialog*)> onDialog;

    ModalDriver()
    {
        connect(&timer, &QTimer::timeout, this, &ModalDriver::poll);
        timer.start(5);
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes.append({box->icon(), box->windowTitle(), box->text(), box->parentWidget(),
                          box->standardButtons()});
            box->buttons().constFirst()->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            if (dialog->property("driven").toBool())
                return;
            dialog->setProperty("driven", true);
            // Out of the timer's slot, so that a box opened by the handler
            // still gets answered.
            QTimer::singleShot(0, dialog, [this, dialog] {
                if (onDialog)
                    onDialog(dialog);
            });
        }
    }

    QTimer timer;
};
