#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tolven {

// One of the main window's look-up lists (competitors, price types, units,
// articles): rows of text whose first column is the code the positions store.
// Read-only for views; the window fills it with setRows.
class LookupTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    // captions fix the number of columns shown, e.g. {"Code", "Konkurerber"};
    // hiddenColumns more are kept beside them for the window (text()) only.
    explicit LookupTable(const QStringList &captions, int hiddenColumns = 0, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Replaces all rows; each is padded or cut to the captions and hidden columns.
    void setRows(QList<QStringList> rows);
    void clear();

    QStringList captions() const;
    QStringList codes() const;
    QString text(int row, int column) const;
    // The first row with this code (compared exactly), or -1.
    int findCode(const QString &code) const;
    // The second column of the code's row; empty for an unknown code.
    QString nameOf(const QString &code) const;

private:
    QStringList m_captions;
    int m_hiddenColumns;
    QList<QStringList> m_rows;
    QHash<QString, int> m_rowOfCode;
};

} // namespace tolven
