#include "MarkLook.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace tolven {

QVariant MarkLook(const PriceMark &mark, int role)
{
    switch (role) {
    case Qt::BackgroundRole:
        // Light enough for black text; never the only sign: bold type for a
        // price below the own, italic above, and the tooltip.
        if (mark.relation == PriceRelation::Below)
            return QBrush(QColor(0xf6, 0xc4, 0xc4));
        if (mark.relation == PriceRelation::Above)
            return QBrush(QColor(0xc8, 0xe6, 0xc9));
        return {};
    case Qt::FontRole: {
        if (mark.relation != PriceRelation::Below && mark.relation != PriceRelation::Above)
            return {};
        QFont font;
        font.setBold(mark.relation == PriceRelation::Below);
        font.setItalic(mark.relation == PriceRelation::Above);
        return font;
    }
    case Qt::ToolTipRole: {
        const QString text = mark.text();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    default:
        return {};
    }
}

} // namespace tolven
