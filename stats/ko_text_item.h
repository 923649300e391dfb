#pragma once

#include <QFont>
#include <QGraphicsTextItem>
#include <QRectF>
#include <QTextOption>

// A text that sits in a fixed rectangle of the chart with a given alignment
// (tick values, heading, total), wrapping at word boundaries or anywhere.
class KoTextItem : public QGraphicsTextItem
{
    Q_OBJECT

public:
    KoTextItem(QGraphicsItem* parent, Qt::Alignment alignment, const QFont& font);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    void setRect(qreal x, qreal y, qreal width, qreal height);
    void setText(const QString& text);
    void setFont(const QFont& font);

    QRectF rect() const { return itemRect; }
    QString text() const { return itemText; }
    QFont font() const { return itemFont; }
    Qt::Alignment alignment() const { return textOption.alignment(); }

private:
    QRectF itemRect;
    QTextOption textOption;
    QString itemText;
    QFont itemFont;
};
