#include "MasterListWindow.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "common/ChangeHistory.h"
#include "common/EditingGrid.h"
#include "common/Icons.h"
#include "objectapi/TextCheck.h"
#include "output/GridPrint.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

const QString MessageTitle = u"TOLVEN Konkurerberverwaltung"_s;

// A check-box column: the box alone, in the middle of its cell, without the
// "J" or "N" it stands for. A click on the box or Space toggles it.
class CheckBoxDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QStyle *style = cell.widget ? cell.widget->style() : QApplication::style();
        QStyleOptionViewItem background = cell;
        background.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator);
        background.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, cell.widget);
        QStyleOptionViewItem box = cell;
        box.rect = boxRect(cell);
        box.state = (box.state & ~QStyle::State_HasFocus)
            | (cell.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, cell.widget);
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        if (!(index.flags() & Qt::ItemIsUserCheckable) || !(index.flags() & Qt::ItemIsEnabled))
            return false;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            // The release toggles; the press and a double click's second one only make the cell current.
            return boxRect(option).contains(static_cast<QMouseEvent *>(event)->position().toPoint());
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton || !boxRect(option).contains(mouse->position().toPoint()))
                return false;
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Select)
                return false;
        } else {
            return false;
        }
        const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

private:
    static QRect boxRect(const QStyleOptionViewItem &option)
    {
        const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
        const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
        return QStyle::alignedRect(option.direction, Qt::AlignCenter, QSize(width, height), option.rect);
    }
};

// A text column: a cell the user has opened but not typed in is no edit,
// so that only what was typed reaches the commit check.
class TextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *field = qobject_cast<QLineEdit *>(editor); field && !field->isModified())
            return;
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

MasterListWindow::MasterListWindow(MasterListDefinition definition, QWidget *parent)
    : QDialog(parent)
    , m_definition(std::move(definition))
    , m_rows(new MasterListModel(m_definition.gridColumns, int(m_definition.resultColumns.size()), this))
    , m_grid(new EditingGrid(this))
    , m_save(nullptr)
{
    setObjectName(m_definition.objectName);
    setWindowTitle(m_definition.title);
    m_rows->setCommitCheck(
        [this](const QModelIndex &cell, const QString &text) { return TDBGrid1_BeforeColUpdate(cell, text); });

    m_grid->setObjectName(u"TDBGrid1"_s);
    m_grid->setModel(m_rows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                            | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_grid->horizontalHeader()->setSectionsMovable(false);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->setMinimumHeight(360);
    m_grid->setItemDelegate(new TextDelegate(m_grid));
    for (int column = 0; column < m_definition.gridColumns.size(); ++column) {
        if (m_definition.gridColumns.at(column).checkBox)
            m_grid->setItemDelegateForColumn(column, new CheckBoxDelegate(m_grid));
    }
    sizeColumns();

    // Ins and Del on the grid, and the same in its context menu.
    auto *newRowAction = new QAction(u"Neue Zeile"_s, m_grid);
    newRowAction->setObjectName(u"m_neu"_s);
    newRowAction->setShortcut(QKeySequence(Qt::Key_Insert));
    newRowAction->setShortcutContext(Qt::WidgetShortcut);
    connect(newRowAction, &QAction::triggered, this, &MasterListWindow::newRow);
    auto *deleteAction = new QAction(u"Zeile löschen"_s, m_grid);
    deleteAction->setObjectName(u"m_loesch"_s);
    deleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    deleteAction->setShortcutContext(Qt::WidgetShortcut);
    connect(deleteAction, &QAction::triggered, this, &MasterListWindow::BULoesch_Click);
    auto *historyAction = new QAction(u"Änderungsverlauf…"_s, m_grid);
    historyAction->setObjectName(u"m_verlauf"_s);
    historyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    historyAction->setShortcutContext(Qt::WidgetShortcut);
    connect(historyAction, &QAction::triggered, this, &MasterListWindow::showHistory);
    m_grid->addAction(newRowAction);
    m_grid->addAction(deleteAction);
    m_grid->addAction(historyAction);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(makeButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The keys act on what the open cell holds, as the buttons do.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this), &QShortcut::activated, this, [this] {
        if (readyForCommand() && m_save->isEnabled())
            BUSpeich_Click();
    });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this), &QShortcut::activated, this,
            &MasterListWindow::BUDruck_Click);
}

MasterListWindow::~MasterListWindow()
{
    // An editor still open commits when the closing window takes its focus,
    // after this window is gone: the edit is dropped with the table then.
    m_rows->setCommitCheck(nullptr);
}

QWidget *MasterListWindow::makeButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    QPushButton *remove = MakeButton(bar, u"BULoesch"_s, m_definition.deleteCaption, u"delete-row"_s);
    remove->setToolTip(u"Die markierte Zeile löschen (Entf)"_s);
    QPushButton *print = MakeButton(bar, u"BUDruck"_s, u"Drucken"_s, u"print"_s);
    print->setToolTip(u"Drucken (Strg+P)"_s);
    m_save = MakeButton(bar, u"BUSpeich"_s, u"Speichern"_s, u"save"_s);
    m_save->setToolTip(u"Speichern und schließen (Strg+S)"_s);
    m_save->setEnabled(false);
    QPushButton *exit = MakeButton(bar, m_definition.exitButtonName, u"Ausstieg"_s, u"exit"_s);
    exit->setToolTip(u"Schließen, ohne zu speichern (Esc)"_s);
    for (QPushButton *button : {remove, print, m_save, exit})
        row->addWidget(button);
    connect(remove, &QPushButton::clicked, this, &MasterListWindow::BULoesch_Click);
    connect(print, &QPushButton::clicked, this, &MasterListWindow::BUDruck_Click);
    connect(m_save, &QPushButton::clicked, this, &MasterListWindow::BUSpeich_Click);
    connect(exit, &QPushButton::clicked, this, &MasterListWindow::BUAusstieg_Click);
    setTabOrder(m_grid, remove);
    setTabOrder(remove, print);
    setTabOrder(print, m_save);
    setTabOrder(m_save, exit);
    return bar;
}

void MasterListWindow::sizeColumns()
{
    // The columns keep the proportions the list has always had, in twips.
    int width = 0;
    for (int column = 0; column < m_definition.gridColumns.size(); ++column) {
        const int pixels = m_definition.gridColumns.at(column).widthTwips * m_grid->logicalDpiX() / 1440;
        m_grid->horizontalHeader()->resizeSection(column, pixels);
        width += pixels;
    }
    // Room for the record selectors of a long list and the scroll bar.
    m_grid->setMinimumWidth(width + 2 * m_grid->frameWidth() + m_grid->fontMetrics().horizontalAdvance(u"99999"_s)
                            + 2 * m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

bool MasterListWindow::Form_Load()
{
    const QString operation = m_definition.listName + u" lesen";
    QList<QStringList> rows;
    try {
        if (!BeginConnectedCall(true))
            return false;
        // As stored: the windows show what the user typed.
        ReadFirmQuery(m_definition.className, m_definition.queryName, m_definition.resultColumns, rows);
        m_loadedState = readListState();
        EndServerCall(true);
    } catch (const AccessError &error) {
        ReportAccessError(error, operation);
        return false;
    }
    m_rows->setRows(std::move(rows));
    m_grid->setCurrentIndex(m_rows->index(0, 0));
    m_grid->setFocus();
    return true;
}

bool MasterListWindow::TDBGrid1_BeforeColUpdate(const QModelIndex &cell, const QString &text)
{
    const int row = cell.row();
    const MasterListColumn &column = m_definition.gridColumns.at(cell.column());
    const int tableColumn = column.tableColumn;
    const bool checkBox = column.checkBox;
    const auto refuse = [this, cell, checkBox, text](const QString &message) {
        m_grid->reopenLater(cell, checkBox ? std::nullopt : std::optional(text),
                            [this, message] { MsgBox(this, QMessageBox::Information, MessageTitle, message); });
        return false;
    };

    if (!checkBox) {
        QString complaint = ForbiddenCharacterComplaint(column.caption, text, false);
        if (complaint.isEmpty() && tableColumn == CodeColumn)
            complaint = SevenBitComplaint(column.caption, text);
        if (!complaint.isEmpty())
            return refuse(complaint);
    }
    const QString code = tableColumn == CodeColumn ? text : m_rows->cell(row, CodeColumn);
    if (code.isEmpty())
        return refuse(u"Code kann nicht leer sein"_s);
    if (tableColumn == CodeColumn && m_rows->cell(row, CodeColumn) != text) {
        // The edited row still holds its old code, so it never matches itself.
        for (const QStringList &other : m_rows->rows()) {
            if (other.at(CodeColumn) == text) {
                if (m_definition.refusedDuplicateEnablesSave)
                    m_save->setEnabled(true);
                return refuse(m_definition.duplicateMessage);
            }
        }
    }
    m_save->setEnabled(true);
    return true;
}

bool MasterListWindow::readyForCommand()
{
    m_grid->commitPendingEdit();
    return !m_grid->reopenPending();
}

void MasterListWindow::newRow()
{
    if (!readyForCommand())
        return;
    const QModelIndex cell = m_rows->index(m_rows->tableRowCount(), CodeColumn);
    m_grid->setCurrentIndex(cell);
    m_grid->setFocus();
    m_grid->edit(cell);
}

void MasterListWindow::BULoesch_Click()
{
    if (!readyForCommand())
        return;
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid() || m_rows->isNewRowLine(current.row()))
        return;
    m_rows->removeRows(current.row(), 1);
    m_save->setEnabled(true);
    m_grid->setCurrentIndex(m_rows->index(std::min(current.row(), m_rows->tableRowCount()), current.column()));
}

void MasterListWindow::BUDruck_Click()
{
    if (!readyForCommand())
        return;
    PrintSettings settings;
    settings.caption = m_definition.previewCaption;
    settings.orientation = QPageLayout::Portrait;
    settings.rowCount = m_rows->tableRowCount();
    PrintPreview(*m_grid, m_definition.printHeader + PrintedAt(Now()), settings);
    m_grid->viewport()->update();
}

void MasterListWindow::BUSpeich_Click()
{
    if (!readyForCommand())
        return;
    // A check box never ticked is stored as not ticked.
    QList<int> flags;
    for (const MasterListColumn &column : std::as_const(m_definition.gridColumns)) {
        if (column.checkBox)
            flags << column.tableColumn;
    }
    QList<QStringList> rows = m_rows->rows();
    for (QStringList &row : rows) {
        for (const int flag : std::as_const(flags)) {
            if (row.at(flag).isEmpty())
                row[flag] = u"N"_s;
        }
    }
    QStringList ids;
    QString state = m_loadedState;
    for (;;) {
        try {
            if (!BeginConnectedCall(true))
                return;
            ids = replaceList(rows, state);
            EndServerCall(true);
            break;
        } catch (const AccessError &error) {
            if (error.number() != ErrorNumber::Conflict) {
                // The old list is whole on the server, and the user's rows are here.
                ReportAccessError(error, m_definition.listName + u" speichern");
                return;
            }
            EndServerCall(true);
        }
        switch (askAboutConflict()) {
        case ConflictAnswer::Overwrite:
            state.clear();
            continue;
        case ConflictAnswer::Reload:
            if (Form_Load())
                m_save->setEnabled(false);
            return;
        case ConflictAnswer::Cancel:
            return;
        }
    }
    for (int row = 0; row < rows.size(); ++row) {
        for (const int flag : std::as_const(flags))
            m_rows->setCell(row, flag, rows.at(row).at(flag));
        if (m_definition.idColumn >= 0)
            m_rows->setCell(row, m_definition.idColumn, ids.value(row));
    }
    m_save->setEnabled(false);
    accept();
}

QString MasterListWindow::readListState()
{
    std::unique_ptr<ServerObject> list = Factory().classObject(m_definition.className);
    const QString state = list->callMethod(u"Stand"_s, {Context().Firm});
    CloseServerObject(list);
    return state;
}

MasterListWindow::ConflictAnswer MasterListWindow::askAboutConflict()
{
    QString by;
    try {
        const QList<ChangeEntry> history = ReadClassHistory(m_definition.className, Context().Firm);
        if (!history.isEmpty())
            by = u' ' + ChangedByText(history.first());
    } catch (const AccessError &) {
        // Asked without who and when.
    }
    const QMessageBox::StandardButton answer = MsgBox(
        this, QMessageBox::Warning, MessageTitle,
        u"Die Liste der " + m_definition.listName + u" wurde inzwischen" + by
            + u" geändert, seit dieses Fenster sie gelesen hat.\n\n"
              u"„Neu laden“ liest die Liste neu, Ihre Änderungen gehen verloren. "
              u"„Überschreiben“ speichert Ihre Liste trotzdem. „Abbrechen“ speichert nichts.",
        ReloadButton | OverwriteButton | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == OverwriteButton)
        return ConflictAnswer::Overwrite;
    return answer == ReloadButton ? ConflictAnswer::Reload : ConflictAnswer::Cancel;
}

void MasterListWindow::showHistory()
{
    if (!readyForCommand())
        return;
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid() || m_rows->isNewRowLine(current.row()))
        return;
    const int row = current.row();
    QHash<QString, QString> values;
    QList<ChangeField> fields;
    for (int column = 0; column < m_definition.properties.size(); ++column) {
        const QString &property = m_definition.properties.at(column);
        if (property.isEmpty())
            continue;
        values.insert(property, m_rows->cell(row, column));
        for (const MasterListColumn &gridColumn : std::as_const(m_definition.gridColumns)) {
            if (gridColumn.tableColumn == column)
                fields.append({property, gridColumn.caption, gridColumn.checkBox ? ChangeField::Flag : ChangeField::Text});
        }
    }
    const QString code = m_rows->cell(row, CodeColumn);
    QList<ChangeEntry> history;
    try {
        if (!BeginConnectedCall(true))
            return;
        history = ReadClassHistory(m_definition.className, Context().Firm);
        EndServerCall(true);
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Änderungsverlauf lesen"_s);
        return;
    }
    const QList<ChangeEntry> changes =
        ListEntryChanges(history, m_definition.properties.at(CodeColumn), code, values);
    ChangeHistoryDialog dialog(m_definition.listName + u": " + code, ChangeLines(changes, fields), this);
    ExecModal(dialog);
}

QStringList MasterListWindow::replaceList(const QList<QStringList> &rows, const QString &state)
{
    const QString firm = Context().Firm;
    QStringList ids;
    ids.reserve(rows.size());
    XecuteOnServer(u"TSTART"_s);
    try {
        std::unique_ptr<ServerObject> list = Factory().classObject(m_definition.className);
        list->callMethod(u"Delall"_s, state.isEmpty() ? QStringList{firm} : QStringList{firm, state});
        CloseServerObject(list);
        for (const QStringList &row : rows) {
            std::unique_ptr<ServerObject> object = Factory().createNew(m_definition.className);
            object->setProperty(u"Firma"_s, firm);
            for (int column = 0; column < m_definition.properties.size(); ++column) {
                if (!m_definition.properties.at(column).isEmpty())
                    object->setProperty(m_definition.properties.at(column), row.at(column));
            }
            object->sys_save();
            ids << object->sys_ID();
            CloseServerObject(object);
        }
        XecuteOnServer(u"TCOMMIT"_s);
    } catch (const AccessError &) {
        RollBackOnServer();
        throw;
    }
    return ids;
}

void MasterListWindow::BUAusstieg_Click()
{
    reject();
}

} // namespace tolven
