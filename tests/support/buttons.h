#pragma once

// The push button of parent that shows text; a test without it stops there.

#include <QPushButton>

inline QPushButton* button(QWidget* parent, const QString& text)
{
    for (auto* candidate : parent->findChildren<QPushButton*>())
        if (candidate->text() == text)
            return candidate;
    qFatal("no button %s", qPrintable(text));
}
