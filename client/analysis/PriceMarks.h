#pragma once

#include <QList>
#include <QObject>
#include <QVariant>

#include <functional>

#include "analysis/PriceMark.h"

class QAbstractItemModel;

namespace tolven {

// The undercut marks of a grid's price column: each row's competitor price
// against the own price, kept per row so that painting asks for nothing new,
// and made again only for the rows that change. Counts the rows below and
// above the own price for the status line.
class PriceMarks : public QObject
{
    Q_OBJECT

public:
    // The mark of a row of model, made from its cells.
    using Source = std::function<PriceMark(int row)>;

    // Marks column of model's rows.
    PriceMarks(const QAbstractItemModel &model, int column, Source source, QObject *parent = nullptr);

    // Makes every row's mark again (after the own prices have changed).
    void refresh();
    // The look of a cell for role: background, font and tooltip of the
    // marked column; nothing for other cells and roles.
    QVariant look(int row, int column, int role) const;
    PriceMark mark(int row) const;

    int below() const { return m_below; }
    int above() const { return m_above; }
    // "120 unter, 180 über eigenem Preis"
    QString countText() const;

signals:
    void countsChanged();

private:
    struct Entry
    {
        PriceRelation relation = PriceRelation::NoPrice;
        float percent = 0;
    };
    Entry entryOf(int row) const;
    void count(const Entry &entry, int sign);
    void remake(int first, int last);
    void insert(int first, int last);
    void remove(int first, int last);

    const QAbstractItemModel &m_model;
    int m_column;
    Source m_source;
    QList<Entry> m_entries;
    int m_below = 0;
    int m_above = 0;
};

} // namespace tolven
