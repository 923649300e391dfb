#include "ko_menus.h"

#include <QMenuBar>
#include <QSet>

const QChar KoMenus::Ellipsis(0x2026);

QString KoMenus::EntryText(const QString& text, Opens opens)
{
    if (opens == Opens::Dialog && !text.endsWith(Ellipsis))
        return text + Ellipsis;
    return text;
}

namespace {

// The letter a text marks with "&", or a null char ("&&" is a plain "&").
QChar MarkedLetter(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text.at(i + 1).toLower();
    }
    return QChar();
}

} // namespace

void KoMenus::AssignAccelerators(const QList<QAction*>& actions)
{
    QSet<QChar> taken;
    for (const QAction* action : actions) {
        const QChar letter = MarkedLetter(action->text());
        if (!letter.isNull())
            taken.insert(letter);
    }
    for (QAction* action : actions) {
        const QString text = action->text();
        if (action->isSeparator() || text.isEmpty() || !MarkedLetter(text).isNull())
            continue;
        int chosen = -1;
        // Word starts first, then any letter.
        for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
            for (int i = 0; i < text.size(); ++i) {
                const QChar c = text.at(i);
                const bool word_start = i == 0 || !text.at(i - 1).isLetterOrNumber();
                if (c.isLetterOrNumber() && (pass == 1 || word_start) &&
                    !taken.contains(c.toLower())) {
                    chosen = i;
                    break;
                }
            }
        }
        if (chosen < 0)
            continue; // every letter is taken: the entry is reached by the arrows
        taken.insert(text.at(chosen).toLower());
        // An "&" already in the text is a doubled, plain one and stays so.
        QString marked = text;
        marked.insert(chosen, QLatin1Char('&'));
        action->setText(marked);
    }
}

void KoMenus::Watch(QMenuBar* bar)
{
    AssignAccelerators(bar->actions());
    for (QAction* title : bar->actions()) {
        QMenu* menu = title->menu();
        if (!menu)
            continue;
        AssignAccelerators(menu->actions());
        QObject::connect(menu, &QMenu::aboutToShow, menu,
                         [menu] { AssignAccelerators(menu->actions()); });
    }
}

QString KoMenus::PlainText(const QString& text)
{
    QString plain;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        plain += text.at(i);
    }
    if (plain.endsWith(Ellipsis))
        plain.chop(1);
    return plain;
}
