#pragma once
// The records of the list as six columns of text, read straight from the list. The list is
// changed by its owners; they tell the model what happened through the calls below, so that
// the views move their selection with the records instead of starting over.

#include <QAbstractTableModel>
#include <functional>
#include <span>

#include "core/anniversary.h"
#include "core/settings.h"

namespace jubilora {

// A header cell of a table whose columns are named by `headers`: left-aligned names across
// the top, nothing down the side.
QVariant ColumnHeader(std::span<const char* const> headers, int section, Qt::Orientation orientation, int role);

class AnniversaryTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { DateColumn, YearColumn, TypeColumn, DescriptionColumn, PriorityColumn, ReminderColumn, ColumnCount };

  AnniversaryTableModel(const TAnniversaryList& anniversaries, const TCfg& cfg, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The list may have changed in any way while no one looked: start over.
  void Reload();
  // Records appended at the end since the views last heard of the list.
  void RecordsAppended();
  void RecordChanged(int row);
  // Runs `remove`, which takes the record at `row` out of the list.
  void RemoveRecord(int row, const std::function<void()>& remove);
  // Runs `reorder`, which rearranges the list without adding or dropping records, and
  // returns its result. Whatever the views held on to follows its record.
  int Reorder(const std::function<int()>& reorder);

 private:
  int RowOf(const TAnniversary& record) const;

  const TAnniversaryList& anniversaries_;
  const TCfg& cfg_;
  // What the views have been told; the list itself may already be longer.
  int rows_ = 0;
};

}  // namespace jubilora
