#include "ui/contacts_import_model.h"

#include <algorithm>
#include <array>

#include "core/naming.h"
#include "core/text_codec.h"
#include "data/contact_import.h"
#include "ui/anniversary_table_model.h"
#include "ui/qt_text.h"

namespace jubilora {

namespace {

constexpr std::array<const char*, ContactsImportModel::ColumnCount> ColumnHeaders = {"Description", "Date", "Year",
                                                                                    "Type", "Note"};
constexpr const char* ListedNote = "already listed";
constexpr const char* CutNote = "\n(cut to the 50 characters a description holds)";
constexpr const char* NoLettersReason = "name without letters a record can hold, its date skipped";
// What a cut description ends with on screen; the record itself holds only what fits.
constexpr char16_t CutMark = u'\u2026';

}  // namespace

std::vector<ImportRow> ImportRows(const std::vector<ContactEvent>& events, const TAnniversaryList& list,
                                  std::vector<VCardProblem>& problems) {
  std::vector<ImportRow> rows;
  std::vector<ImportCandidate> candidates;
  for (const ContactEvent& event : events) {
    // Invisible characters and lone accents leave nothing behind.
    if (Utf8ToCp1252Nearest(event.name).find_first_not_of(' ') == std::string::npos) {
      problems.push_back({event.line, NoLettersReason});
      continue;
    }
    // One at a time, so that each row keeps its contact's name.
    for (const ImportCandidate& candidate : CandidatesFromEvents({event}, 0, DefaultReminder)) {
      rows.push_back({candidate.record, candidate.cut, false, event.name});
      candidates.push_back(candidate);
    }
  }
  const std::vector<bool> listed = AlreadyListed(candidates, list);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].listed = listed[i];
  return rows;
}

ContactsImportModel::ContactsImportModel(std::vector<ImportRow> rows, const TCfg& cfg, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)), cfg_(cfg) {
  ticked_.reserve(rows_.size());
  for (const ImportRow& row : rows_) ticked_.push_back(!row.listed);
}

int ContactsImportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ContactsImportModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ContactsImportModel::data(const QModelIndex& index, int role) const {
  const auto row = static_cast<std::size_t>(index.row());
  if (!index.isValid() || row >= rows_.size()) return {};
  const ImportRow& r = rows_[row];
  const TAnniversary& record = r.record;
  if (index.column() == DescriptionColumn) {
    if (role == Qt::CheckStateRole) return ticked_[row] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole) {
      // The name as the contacts write it, which the description may spell otherwise.
      const QString name = QString::fromStdString(r.name);
      return r.cut ? name + QString::fromLatin1(CutNote) : name;
    }
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case DescriptionColumn: {
      QString text = FromCp1252(record.Description());
      if (r.cut) text += CutMark;
      return text;
    }
    case DateColumn: return FromCp1252(DateText(cfg_.DateFormat, record.Date));
    case YearColumn: return FromCp1252(YearText(record.Kind, record.Date));
    case TypeColumn: return FromCp1252(KindName(record.Kind));
    default: return r.listed ? QString::fromLatin1(ListedNote) : QString();
  }
}

bool ContactsImportModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != DescriptionColumn || role != Qt::CheckStateRole) return false;
  SetTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
  return true;
}

Qt::ItemFlags ContactsImportModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == DescriptionColumn) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant ContactsImportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  return ColumnHeader(ColumnHeaders, section, orientation, role);
}

void ContactsImportModel::Toggle(int row) {
  if (row >= 0 && row < rowCount()) SetTicked(row, !ticked_[static_cast<std::size_t>(row)]);
}

void ContactsImportModel::SetTicked(int row, bool ticked) {
  if (row < 0 || row >= rowCount() || ticked_[static_cast<std::size_t>(row)] == ticked) return;
  ticked_[static_cast<std::size_t>(row)] = ticked;
  const QModelIndex cell = index(row, DescriptionColumn);
  Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
  Q_EMIT TicksChanged();
}

int ContactsImportModel::TickedCount() const {
  return static_cast<int>(std::count(ticked_.begin(), ticked_.end(), true));
}

TAnniversaryList ContactsImportModel::Ticked(std::uint8_t importance, std::uint8_t reminderDays) const {
  TAnniversaryList records;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!ticked_[i]) continue;
    TAnniversary record = rows_[i].record;
    record.Importance = importance;
    record.ReminderDays = reminderDays;
    records.push_back(record);
  }
  return records;
}

}  // namespace jubilora
