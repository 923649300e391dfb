#include "ko_text_item.h"

#include <QPainter>

KoTextItem::KoTextItem(QGraphicsItem* parent, Qt::Alignment alignment, const QFont& font)
    : QGraphicsTextItem(parent), textOption(alignment), itemFont(font)
{
    textOption.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

QRectF KoTextItem::boundingRect() const
{
    return itemRect;
}

void KoTextItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    painter->save();
    painter->setFont(itemFont);
    painter->drawText(itemRect, itemText, textOption);
    painter->restore();
    QGraphicsTextItem::paint(painter, option, widget);
}

void KoTextItem::setRect(qreal x, qreal y, qreal width, qreal height)
{
    prepareGeometryChange();
    itemRect = QRectF(x, y, width, height);
}

void KoTextItem::setText(const QString& text)
{
    itemText = text;
    update();
}

void KoTextItem::setFont(const QFont& font)
{
    itemFont = font;
    update();
}
