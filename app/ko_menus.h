#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QString>

class QMenuBar;

// How the window's menus read, for every entry alike: an entry that opens a
// dialog ends with "…", every title and entry gets an accelerator (Alt and
// the underlined letter), chosen when its menu is shown, so that an entry
// added later gets one too and none is taken twice in a menu.
class KoMenus
{
public:
    enum class Opens
    {
        Action, // acts at once
        Dialog, // asks something first: the text ends with "…"
    };

    static const QChar Ellipsis;

    // The entry as shown: text (already translated) with "…" for a dialog.
    static QString EntryText(const QString& text, Opens opens);

    // Adds an entry to menu, owned by owner: its text, status tip (none
    // when empty) and the slot or functor that triggered() runs.
    template <class Receiver, class Slot>
    static QAction* Add(QMenu* menu, Receiver* owner, const QString& text, const QString& tip,
                        Opens opens, Slot slot)
    {
        auto* action = new QAction(EntryText(text, opens), owner);
        if (!tip.isEmpty())
            action->setStatusTip(tip);
        QObject::connect(action, &QAction::triggered, owner, slot);
        menu->addAction(action);
        return action;
    }

    // Gives the menu bar's titles their accelerators now and every menu's
    // entries theirs whenever it is about to be shown.
    static void Watch(QMenuBar* bar);

    // Marks one letter of every text of actions that has none with "&": the
    // first letter of a word where it is still free, else any free letter.
    // Texts that already carry one keep it and reserve it.
    static void AssignAccelerators(const QList<QAction*>& actions);

    // The text without its accelerator mark and its "…" (for the tests and
    // the screenshots' captions).
    static QString PlainText(const QString& text);
};
