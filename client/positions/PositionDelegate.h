#pragma once

#include <QStyledItemDelegate>

namespace tolven {

// The editors of the position grid's typed columns and the buttons of its
// article and note columns:
// - the article number: up to six digits;
// - the dates: the client's date form, digits only; an empty field is no date;
// - the quantity and the prices: digits, one decimal separator ("," or "."),
//   a leading minus; the editor starts with the cell's number in full;
// - any other column: plain text.
// The current row's article and note cells carry a button at their right
// edge; clicking it, or F4 on the cell, reports columnButtonClicked.
class PositionDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit PositionDelegate(QObject *parent = nullptr);

    static bool HasColumnButton(int column);
    // Where a cell's button is drawn.
    static QRect ButtonRect(const QRect &cell);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

signals:
    void columnButtonClicked(const QModelIndex &index);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
};

} // namespace tolven
