#pragma once

#include <QList>
#include <QWidget>

class QGraphicsScene;

// Common base of the editable figures drawn on a camera picture. A figure
// paints nothing itself: it adds graphics items to the scene (which owns
// them) and is driven by its host through the four scene-mouse operations,
// with positions in whole scene pixels.
class KoBaseFigure : public QWidget
{
    Q_OBJECT

public:
    // Pointer to one of the four mouse operations, for routeMouse.
    using MouseOperation = void (KoBaseFigure::*)(int, int);

    KoBaseFigure(QWidget* parent, QGraphicsScene* scene);

    virtual void sceneMouseMove(int x, int y);
    virtual void sceneMousePress(int x, int y);      // left button
    virtual void sceneMouseRightPress(int x, int y); // any other button
    virtual void sceneMouseRelease(int x, int y);

    // The host's routing rule: a figure that has taken the mouse (active)
    // gets the event alone; otherwise the figures get it in list order until
    // one takes the mouse. Returns whether any figure is now modified, which
    // is when the host enables its apply and cancel buttons.
    //   KoBaseFigure::routeMouse(figures, &KoBaseFigure::sceneMousePress, x, y);
    static bool routeMouse(const QList<KoBaseFigure*>& figures, MouseOperation operation, int x,
                           int y);

    QGraphicsScene* scene = nullptr; // not owned
    float sceneWidth = 0;            // image width in pixels
    float sceneHeight = 0;           // image height in pixels
    bool modified = false;           // editing state differs from the committed one
    bool active = false;             // dragging, or the mouse is over a handle
};
