#pragma once

#include <QDialog>
#include <QList>

#include <optional>

#include "output/SheetFile.h"
#include "positions/PositionImport.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace tolven {

class LookupTable;
class PositionModel;

// "Import": reads a spreadsheet file (the CSV or Excel file for head office,
// or a sheet whose first row names the grid's columns), shows the rows it
// would add to the grid and every row it refuses with its reason, and lets
// the user take them ("Übernehmen") or leave it ("Abbrechen"). Nothing
// reaches the grid before "Übernehmen"; the main window adds the rows.
class FMImport : public QDialog
{
    Q_OBJECT

public:
    // The lists and the grid are read, never changed.
    FMImport(QWidget *parent, const LookupTable &competitors, const LookupTable &priceTypes,
             const PositionModel &grid, ArticleLookup articles);

    // Reads the file and checks its rows for the price type chosen; a file
    // that cannot be read is said so and leaves nothing to take. True when
    // it was read.
    bool readFile(const QString &path);
    const ImportResult &result() const { return m_result; }
    // What "Übernehmen" adds.
    const QList<PackedRow> &acceptedRows() const { return m_result.rows; }

private:
    void dateiwahl_Click();
    void lesen_Click();
    void check();
    void showResult();

    const LookupTable &m_competitors;
    const LookupTable &m_priceTypes;
    const PositionModel &m_grid;
    ArticleLookup m_articles;
    std::optional<SheetTable> m_sheet;
    ImportResult m_result;

    QLineEdit *m_datei;
    QPushButton *m_dateiwahl;
    QPushButton *m_lesen;
    QComboBox *m_preistyp;
    PositionModel *m_preview;
    QTableView *m_vorschau;
    QLabel *m_summary;
    QPlainTextEdit *m_abgewiesen;
    QPushButton *m_uebernehmen;
    QPushButton *m_abbrechen;
};

} // namespace tolven
