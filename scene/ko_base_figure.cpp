#include "ko_base_figure.h"

#include <QGraphicsScene>

KoBaseFigure::KoBaseFigure(QWidget* parent, QGraphicsScene* scene) : QWidget(parent), scene(scene)
{
    // A figure is a widget only to live in its host's widget tree. Kept
    // hidden, it never covers part of the host or takes its clicks when the
    // host is shown.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setVisible(false);
    if (scene) {
        // Until the host fits a picture, a scene without a rectangle of its
        // own grows with its items, and the handles reaching past the picture
        // edges would grow it for the next figure. Pin it to the picture.
        const QRectF rect = scene->sceneRect();
        if (!rect.isEmpty())
            scene->setSceneRect(rect);
        sceneWidth = float(rect.width());
        sceneHeight = float(rect.height());
    }
}

void KoBaseFigure::sceneMouseMove(int, int) {}

void KoBaseFigure::sceneMousePress(int, int) {}

void KoBaseFigure::sceneMouseRightPress(int, int) {}

void KoBaseFigure::sceneMouseRelease(int, int) {}

bool KoBaseFigure::routeMouse(const QList<KoBaseFigure*>& figures, MouseOperation operation, int x,
                              int y)
{
    KoBaseFigure* holder = nullptr;
    for (KoBaseFigure* figure : figures) {
        if (figure && figure->active) {
            holder = figure;
            break;
        }
    }
    if (holder) {
        (holder->*operation)(x, y);
    } else {
        for (KoBaseFigure* figure : figures) {
            if (!figure)
                continue;
            (figure->*operation)(x, y);
            if (figure->active)
                break;
        }
    }
    for (const KoBaseFigure* figure : figures) {
        if (figure && figure->modified)
            return true;
    }
    return false;
}
