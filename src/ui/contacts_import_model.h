#pragma once
// The dates found in an address book, one row each, with the tick that decides whether it
// becomes a record. Dates already in the list start unticked.

#include <cstdint>
#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "core/anniversary.h"
#include "core/settings.h"
#include "data/vcard.h"

namespace jubilora {

struct ImportRow {
  TAnniversary record;  // importance and reminder are set for all rows when importing
  bool cut = false;     // the description was longer than a record holds
  bool listed = false;  // the list (or an earlier row) already holds it
  std::string name;     // UTF-8, the contact's name as the address book writes it
};

// One row per event that is a day, in the order of the file. An event whose name keeps no
// letter in a record's code page would make a record without a description: it is added to
// `problems` instead.
std::vector<ImportRow> ImportRows(const std::vector<ContactEvent>& events, const TAnniversaryList& list,
                                  std::vector<VCardProblem>& problems);

class ContactsImportModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { DescriptionColumn, DateColumn, YearColumn, TypeColumn, NoteColumn, ColumnCount };

  ContactsImportModel(std::vector<ImportRow> rows, const TCfg& cfg, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  void Toggle(int row);
  int TickedCount() const;
  // The ticked rows' records, in the order of the file, with this importance and reminder.
  TAnniversaryList Ticked(std::uint8_t importance, std::uint8_t reminderDays) const;

 Q_SIGNALS:
  void TicksChanged();

 private:
  void SetTicked(int row, bool ticked);

  std::vector<ImportRow> rows_;
  std::vector<bool> ticked_;
  const TCfg& cfg_;
};

}  // namespace jubilora
