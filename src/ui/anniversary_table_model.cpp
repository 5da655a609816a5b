#include "ui/anniversary_table_model.h"

#include <array>
#include <string>

#include "core/naming.h"
#include "ui/qt_text.h"

namespace jubilora {

namespace {

constexpr std::array<const char*, AnniversaryTableModel::ColumnCount> ColumnHeaders = {
    "Date", "Year", "Type", "Description", "Priority", "Reminder"};

std::string CellText(const TAnniversary& r, int column, const TCfg& cfg) {
  switch (column) {
    case AnniversaryTableModel::DateColumn:
      return DateText(cfg.DateFormat, r.Date);
    case AnniversaryTableModel::YearColumn:
      return YearText(r.Kind, r.Date);
    case AnniversaryTableModel::TypeColumn:
      return KindName(r.Kind);
    case AnniversaryTableModel::DescriptionColumn:
      return r.Description();
    case AnniversaryTableModel::PriorityColumn:
      return ImportanceBullets(r.Importance);
    default:
      return PeriodName(r.ReminderDays);
  }
}

}  // namespace

AnniversaryTableModel::AnniversaryTableModel(const TAnniversaryList& anniversaries, const TCfg& cfg, QObject* parent)
    : QAbstractTableModel(parent),
      anniversaries_(anniversaries),
      cfg_(cfg),
      // No rows until the window first shows and reloads: a hidden table measures every row.
      rows_(0) {}

int AnniversaryTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int AnniversaryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant AnniversaryTableModel::data(const QModelIndex& index, int role) const {
  const auto row = static_cast<std::size_t>(index.row());
  if (role != Qt::DisplayRole || !index.isValid() || row >= anniversaries_.size()) return {};
  return FromCp1252(CellText(anniversaries_[row], index.column(), cfg_));
}

QVariant ColumnHeader(std::span<const char* const> headers, int section, Qt::Orientation orientation, int role) {
  if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(headers.size())) return {};
  if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  return QString::fromLatin1(headers[static_cast<std::size_t>(section)]);
}

QVariant AnniversaryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  return ColumnHeader(ColumnHeaders, section, orientation, role);
}

void AnniversaryTableModel::Reload() {
  beginResetModel();
  rows_ = static_cast<int>(anniversaries_.size());
  endResetModel();
}

void AnniversaryTableModel::RecordsAppended() {
  const int count = static_cast<int>(anniversaries_.size());
  if (count <= rows_) return;
  beginInsertRows({}, rows_, count - 1);
  rows_ = count;
  endInsertRows();
}

void AnniversaryTableModel::RecordChanged(int row) {
  if (row < 0 || row >= rows_) return;
  Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void AnniversaryTableModel::RemoveRecord(int row, const std::function<void()>& remove) {
  if (row < 0 || row >= rows_) return;
  beginRemoveRows({}, row, row);
  remove();
  --rows_;
  endRemoveRows();
}

int AnniversaryTableModel::Reorder(const std::function<int()>& reorder) {
  Q_EMIT layoutAboutToBeChanged({}, VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  TAnniversaryList held;
  for (const QModelIndex& index : before) {
    const auto row = static_cast<std::size_t>(index.row());
    held.push_back(row < anniversaries_.size() ? anniversaries_[row] : TAnniversary{});
  }
  const int result = reorder();
  QModelIndexList after;
  for (int i = 0; i < before.size(); ++i) {
    const int row = RowOf(held[static_cast<std::size_t>(i)]);
    after.push_back(row < 0 ? QModelIndex() : index(row, before[i].column()));
  }
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged({}, VerticalSortHint);
  return result;
}

// Records alike to the byte cannot be told apart, and so need not be.
int AnniversaryTableModel::RowOf(const TAnniversary& record) const {
  for (std::size_t row = 0; row < anniversaries_.size(); ++row)
    if (SameBytes(anniversaries_[row], record)) return static_cast<int>(row);
  return -1;
}

}  // namespace jubilora
