#include "ko_scene_snapshot.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QGraphicsScene>
#include <QPainter>
#include <QSaveFile>

QImage KoSceneSnapshot::Render(QGraphicsScene& scene)
{
    const QRectF source = scene.sceneRect();
    const QSize size = source.size().toSize();
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), source, Qt::IgnoreAspectRatio);
    return image;
}

bool KoSceneSnapshot::SavePng(const QImage& image, const QString& path, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        if (error)
            *error = QCoreApplication::translate("KoSceneSnapshot", "there is no picture");
        return false;
    }
    // Written whole or not at all: a full disk leaves no half picture.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

QString KoSceneSnapshot::FileName(int pass_id, const QDateTime& when)
{
    return QCoreApplication::translate("KoSceneSnapshot", "door %1 %2.png")
        .arg(pass_id + 1)
        .arg(when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
}
