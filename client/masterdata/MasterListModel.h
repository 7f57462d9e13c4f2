#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace tolven {

// A column of a master-data grid and the row table column it shows.
struct MasterListColumn
{
    QString caption;
    int tableColumn = 0;
    // The width in twips (1440 to the inch).
    int widthTwips = 0;
    // Shown as a check box: "J" ticked, anything else not; ticking stores
    // "J", clearing "N".
    bool checkBox = false;
};

// The row table of a master-data window, the grid's storage: rows of text
// cells, the whole list of the firm. Below the last row the grid shows an
// empty line for a new row; an edit written there makes it a row of the
// table. Every edit from the grid passes the window's commit check first.
class MasterListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The window's check of an edit about to be written: the grid's cell and
    // the new text. False refuses it.
    using CommitCheck = std::function<bool(const QModelIndex &cell, const QString &text)>;

    MasterListModel(QList<MasterListColumn> columns, int tableColumns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The grid's way in: the edit is written when the commit check takes it.
    // An empty text for the new-row line is no edit.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // Rows of the table only; the new-row line stays.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    void setCommitCheck(CommitCheck check) { m_check = std::move(check); }

    // The row table; each row padded or cut to the table's columns.
    void setRows(QList<QStringList> rows);
    const QList<QStringList> &rows() const { return m_rows; }
    int tableRowCount() const { return int(m_rows.size()); }
    bool isNewRowLine(int row) const { return row == m_rows.size(); }
    QString cell(int row, int tableColumn) const;
    // Writes without the commit check, as the window does.
    void setCell(int row, int tableColumn, const QString &text);

private:
    QList<MasterListColumn> m_columns;
    int m_tableColumns;
    QList<QStringList> m_rows;
    CommitCheck m_check;
};

} // namespace tolven
