#pragma once

#include <QImage>
#include <QString>

class QGraphicsScene;

// A door's view as a picture: the scene (the camera picture, the tracked
// objects, the counting line and zone) drawn over its scene rectangle, in
// picture coordinates whatever the view's zoom or the picture item's scale.
class KoSceneSnapshot
{
public:
    // The scene rectangle at one pixel per scene unit; null for an empty scene.
    static QImage Render(QGraphicsScene& scene);

    // Writes image as PNG to path through a temporary file; false with the
    // reason in error (when given) if it could not be written whole.
    static bool SavePng(const QImage& image, const QString& path, QString* error = nullptr);

    // "door N yyyy-MM-dd HH-mm-ss.png" (N from 1): a name that sorts by time.
    static QString FileName(int pass_id, const QDateTime& when);
};
