#include "FMImport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "access/Dialogs.h"
#include "common/Icons.h"
#include "output/PositionOutput.h"
#include "positions/LookupTable.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

const QString Title = u"TOLVEN Konkurerberverwaltung"_s;

// The columns the preview shows: what the file gave and what the article adds.
constexpr int PreviewColumns[] = {
    PositionColumn::Konkur,   PositionColumn::Artnr,   PositionColumn::ArtBez,   PositionColumn::ZAnr,
    PositionColumn::Preistyp, PositionColumn::DatumAb, PositionColumn::DatumBis, PositionColumn::MengeAb,
    PositionColumn::VKE,      PositionColumn::IntPreis, PositionColumn::PreisExcl, PositionColumn::PreisIncl,
    PositionColumn::VRE,      PositionColumn::Notiz,
};

QString Count(qsizetype n)
{
    return QLocale().toString(qlonglong(n));
}

} // namespace

FMImport::FMImport(QWidget *parent, const LookupTable &competitors, const LookupTable &priceTypes,
                   const PositionModel &grid, ArticleLookup articles)
    : QDialog(parent)
    , m_competitors(competitors)
    , m_priceTypes(priceTypes)
    , m_grid(grid)
    , m_articles(std::move(articles))
    , m_datei(new QLineEdit(this))
    , m_dateiwahl(new QPushButton(u"Du&rchsuchen …"_s, this))
    , m_lesen(new QPushButton(u"&Lesen"_s, this))
    , m_preistyp(new QComboBox(this))
    , m_preview(new PositionModel(this))
    , m_vorschau(new QTableView(this))
    , m_summary(new QLabel(this))
    , m_abgewiesen(new QPlainTextEdit(this))
    , m_uebernehmen(new QPushButton(u"Ü&bernehmen"_s, this))
    , m_abbrechen(new QPushButton(u"Abbrechen"_s, this))
{
    setObjectName(u"FMImport"_s);
    setWindowTitle(u"Import"_s);
    setWindowIcon(AppIcon(u"import"_s));
    m_datei->setObjectName(u"datei"_s);
    m_dateiwahl->setObjectName(u"dateiwahl"_s);
    m_lesen->setObjectName(u"lesen"_s);
    m_preistyp->setObjectName(u"preistyp"_s);
    m_vorschau->setObjectName(u"vorschau"_s);
    m_summary->setObjectName(u"zusammenfassung"_s);
    m_abgewiesen->setObjectName(u"abgewiesen"_s);
    m_uebernehmen->setObjectName(u"uebernehmen"_s);
    m_abbrechen->setObjectName(u"abbrechen"_s);

    m_datei->setPlaceholderText(u"CSV- oder Excel-Datei"_s);
    for (int row = 0; row < m_priceTypes.rowCount(); ++row)
        m_preistyp->addItem(m_priceTypes.text(row, 0) + u" – " + m_priceTypes.text(row, 1), m_priceTypes.text(row, 0));
    m_preistyp->setToolTip(u"Der Preistyp der Zeilen, deren Datei keinen nennt (die Exportdatei nennt keinen)"_s);

    m_preview->setReadOnlyColumns([] {
        QSet<int> all;
        for (int column = 0; column < PositionColumnCount; ++column)
            all.insert(column);
        return all;
    }());
    m_vorschau->setModel(m_preview);
    m_vorschau->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_vorschau->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_vorschau->verticalHeader()->setDefaultSectionSize(m_vorschau->fontMetrics().height() + 6);
    for (int column = 0; column < PositionColumnCount; ++column)
        m_vorschau->setColumnHidden(column, std::find(std::begin(PreviewColumns), std::end(PreviewColumns), column)
                                                == std::end(PreviewColumns));
    m_abgewiesen->setReadOnly(true);
    m_abgewiesen->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_summary->setWordWrap(true);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_datei, 1);
    fileRow->addWidget(m_dateiwahl);
    fileRow->addWidget(m_lesen);
    auto *form = new QFormLayout;
    form->addRow(u"&Datei:"_s, fileRow);
    form->addRow(u"&Preistyp:"_s, m_preistyp);
    qobject_cast<QLabel *>(form->labelForField(fileRow))->setBuddy(m_datei);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_uebernehmen, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_abbrechen, QDialogButtonBox::RejectRole);
    m_uebernehmen->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(u"Diese Zeilen kommen als neue Positionen ins Raster:"_s, this));
    layout->addWidget(m_vorschau, 3);
    layout->addWidget(m_summary);
    auto *refusedLabel = new QLabel(u"&Abgewiesene Zeilen:"_s, this);
    refusedLabel->setBuddy(m_abgewiesen);
    layout->addWidget(refusedLabel);
    layout->addWidget(m_abgewiesen, 1);
    layout->addWidget(buttons);

    setTabOrder(m_datei, m_dateiwahl);
    setTabOrder(m_dateiwahl, m_lesen);
    setTabOrder(m_lesen, m_preistyp);
    setTabOrder(m_preistyp, m_vorschau);
    setTabOrder(m_vorschau, m_abgewiesen);
    setTabOrder(m_abgewiesen, m_uebernehmen);
    setTabOrder(m_uebernehmen, m_abbrechen);

    connect(m_dateiwahl, &QPushButton::clicked, this, &FMImport::dateiwahl_Click);
    connect(m_lesen, &QPushButton::clicked, this, &FMImport::lesen_Click);
    connect(m_datei, &QLineEdit::returnPressed, this, &FMImport::lesen_Click);
    connect(m_preistyp, &QComboBox::currentIndexChanged, this, [this] {
        if (m_sheet)
            check();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter in the path field reads the file; it must not take the rows unseen.
    m_uebernehmen->setAutoDefault(false);
    m_lesen->setAutoDefault(false);
    m_dateiwahl->setAutoDefault(false);
    m_abbrechen->setAutoDefault(false);
    resize(1100, 640);
    m_datei->setFocus();
}

void FMImport::dateiwahl_Click()
{
    const QString folder = m_datei->text().isEmpty() ? ExportFolder() : QFileInfo(m_datei->text()).absolutePath();
    const QString path =
        OpenFileName(this, u"Import"_s, folder, u"Tabellen (*.csv *.xlsx);;Alle Dateien (*)"_s);
    if (path.isEmpty())
        return;
    m_datei->setText(QDir::toNativeSeparators(path));
    readFile(path);
}

void FMImport::lesen_Click()
{
    if (m_datei->text().trimmed().isEmpty()) {
        MsgBox(this, QMessageBox::Information, Title, u"Bitte geben Sie die Datei an, die gelesen werden soll."_s);
        m_datei->setFocus();
        return;
    }
    readFile(QDir::fromNativeSeparators(m_datei->text().trimmed()));
}

bool FMImport::readFile(const QString &path)
{
    if (QDir::toNativeSeparators(path) != m_datei->text())
        m_datei->setText(QDir::toNativeSeparators(path));
    QString error;
    m_sheet = ReadSheetFile(path, &error);
    if (!m_sheet) {
        m_result = {};
        showResult();
        MsgBox(this, QMessageBox::Warning, Title, error);
        m_datei->setFocus();
        return false;
    }
    check();
    return true;
}

void FMImport::check()
{
    ImportContext context;
    context.competitors = &m_competitors;
    context.priceTypes = &m_priceTypes;
    context.priceType = m_preistyp->currentData().toString();
    context.grid = &m_grid;
    m_result = CheckImport(*m_sheet, context, m_articles);
    showResult();
    if (!m_result.error.isEmpty())
        MsgBox(this, QMessageBox::Warning, Title, m_result.error);
}

void FMImport::showResult()
{
    m_preview->setPackedRows(m_result.rows);
    m_abgewiesen->setPlainText(m_result.refusals.join(u'\n'));
    QString summary;
    if (m_sheet && m_result.error.isEmpty() && !m_result.serverFailed) {
        summary = u"Gelesen: " + Count(m_sheet->rows.size()) + u" Zeilen. Zu übernehmen: "
            + Count(m_result.rows.size()) + u". Abgewiesen: " + Count(m_result.refusals.size()) + u'.';
        if (!m_result.ignoredColumns.isEmpty())
            summary += u" Nicht gelesene Spalten: " + m_result.ignoredColumns.join(u", ") + u'.';
    }
    m_summary->setText(summary);
    m_uebernehmen->setEnabled(!m_result.rows.isEmpty());
    m_uebernehmen->setDefault(false);
    if (!m_result.rows.isEmpty()) {
        m_vorschau->resizeColumnsToContents();
        // Only once the key that read the file has gone by: Enter in the
        // path field reads, and a second Enter in the preview takes the rows.
        QTimer::singleShot(0, this, [this] {
            m_uebernehmen->setDefault(true);
            m_vorschau->setFocus();
        });
    }
}

} // namespace tolven
