#pragma once

#include <QTableView>

#include <functional>
#include <optional>

namespace tolven {

// A grid whose cells the user edits and whose window checks each edit as it
// is written: an edit can be taken at once, and a refused one can be opened
// again with what the user typed.
class EditingGrid : public QTableView
{
    Q_OBJECT

public:
    explicit EditingGrid(QWidget *parent = nullptr);

    // Writes what the open editor holds to the model and closes it; nothing
    // when no cell is being edited.
    void commitPendingEdit();

    // For a refused edit, once its editor has closed: first runs (it shows
    // the reason), then cell is current and in edit again with typed in its
    // editor. Without typed (a check box) only first runs.
    void reopenLater(const QModelIndex &cell, const std::optional<QString> &typed, std::function<void()> first);
    // True from reopenLater until the cell is open again: a command that
    // would act on the grid waits for the user to settle the cell.
    bool reopenPending() const { return m_reopenPending; }

private:
    bool m_reopenPending = false;
};

} // namespace tolven
