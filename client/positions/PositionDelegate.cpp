#include "PositionDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyleOptionButton>

#include "access/DigitsValidator.h"
#include "positions/CellEdit.h"
#include "positions/DateField.h"
#include "positions/KeyFigures.h"
#include "positions/PositionColumns.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

constexpr int ArticleNumberDigits = 6;

enum class EditorKind { Text, ArticleNumber, Date, Number };

EditorKind KindOf(int column)
{
    switch (column) {
    case PositionColumn::Artnr:
        return EditorKind::ArticleNumber;
    case PositionColumn::DatumAb:
    case PositionColumn::DatumBis:
        return EditorKind::Date;
    default:
        for (int typed : TypedNumberColumns) {
            if (typed == column)
                return EditorKind::Number;
        }
        return EditorKind::Text;
    }
}

} // namespace

PositionDelegate::PositionDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

bool PositionDelegate::HasColumnButton(int column)
{
    return column == PositionColumn::Artnr || column == PositionColumn::Notiz;
}

QRect PositionDelegate::ButtonRect(const QRect &cell)
{
    const int side = qMin(cell.height(), 22);
    return QRect(cell.right() - side + 1, cell.top() + (cell.height() - side) / 2, side, side);
}

QWidget *PositionDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    switch (KindOf(index.column())) {
    case EditorKind::ArticleNumber: {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setValidator(new DigitsValidator(ArticleNumberDigits, editor));
        return editor;
    }
    case EditorKind::Date: {
        auto *editor = new DateField(parent);
        editor->setFrame(false);
        return editor;
    }
    case EditorKind::Number: {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        static const QRegularExpression number(u"-?[0-9]{0,12}([.,][0-9]{0,6})?"_s);
        editor->setValidator(new QRegularExpressionValidator(number, editor));
        return editor;
    }
    case EditorKind::Text:
        break;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void PositionDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant cell = index.data(Qt::EditRole);
    switch (KindOf(index.column())) {
    case EditorKind::Date:
        if (cell.typeId() == QMetaType::QDate)
            static_cast<DateField *>(editor)->setDate(cell.toDate());
        else
            static_cast<DateField *>(editor)->setText(cell.toString());
        return;
    case EditorKind::Number: {
        // The whole number, not the places the grid shows: leaving the cell
        // unchanged must not round it.
        const QLocale locale;
        QString text = cell.toString();
        if (const std::optional<double> number = CellNumber(cell, locale))
            text = locale.toString(*number, 'f', QLocale::FloatingPointShortest).remove(locale.groupSeparator());
        static_cast<QLineEdit *>(editor)->setText(text);
        return;
    }
    case EditorKind::ArticleNumber:
        static_cast<QLineEdit *>(editor)->setText(cell.toString());
        return;
    case EditorKind::Text:
        break;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void PositionDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    switch (KindOf(index.column())) {
    case EditorKind::Date: {
        auto *field = static_cast<DateField *>(editor);
        // An unreal date goes as text, for the window to refuse with a reason.
        QVariant value;
        if (field->isBlank())
            value = QString();
        else if (const QDate date = field->date(); date.isValid())
            value = date;
        else
            value = field->text();
        model->setData(index, value, Qt::EditRole);
        return;
    }
    case EditorKind::Number:
    case EditorKind::ArticleNumber:
        model->setData(index, static_cast<QLineEdit *>(editor)->text(), Qt::EditRole);
        return;
    case EditorKind::Text:
        break;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void PositionDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    const bool button = HasColumnButton(index.column()) && view && view->currentIndex().row() == index.row();
    if (!button) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem text = option;
    text.rect.setRight(ButtonRect(option.rect).left() - 1);
    QStyledItemDelegate::paint(painter, text, index);

    QStyleOptionButton push;
    push.rect = ButtonRect(option.rect);
    push.text = u"…"_s;
    push.state = QStyle::State_Enabled | QStyle::State_Raised;
    QStyle *style = view->style();
    style->drawControl(QStyle::CE_PushButton, &push, painter, view);
}

bool PositionDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    if (event->type() == QEvent::MouseButtonRelease && HasColumnButton(index.column())) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && ButtonRect(option.rect).contains(mouse->position().toPoint())) {
            emit columnButtonClicked(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

} // namespace tolven
