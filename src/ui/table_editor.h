#pragma once
// TfrmTable: every record in a table, sorted by the user's choice, with add, edit and delete.
// The table shows the list in the order it stands in; sorting for display reorders the list
// itself, and every accepted change is saved at once.

#include <QDialog>
#include <functional>

#include "core/anniversary.h"
#include "core/ordering.h"
#include "core/ports.h"
#include "core/settings.h"
#include "data/data_file.h"

class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QShowEvent;
class QTableView;

namespace jubilora {

class AnniversaryTableModel;

// Opens the record editor modally: adding (the accepted record is appended last) or editing
// the record at editedIndex in place. True when the user accepted, i.e. the list changed.
using EditRecordFn = std::function<bool(bool addingRecord, int editedIndex)>;

class TfrmTable : public QDialog {
  Q_OBJECT
 public:
  // The size at the default font.
  static constexpr int InitialWidth = 792;
  static constexpr int InitialHeight = 521;

  TfrmTable(QWidget* mainWindow, TAnniversaryList& anniversaries, const TCfg& cfg, const DataPaths& paths, Ui& ui,
            EditRecordFn editRecord);

  // Modal. Every showing reloads the table from the list and centres the window on the main
  // window.
  void Execute();

  // The record of the selected row, or -1 when no record is selected.
  int SelectedRecord() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void FormShow();
  void FitTableWidth();
  void FitScreen();
  void SizeAndPlace();
  void SelectAndApplySort(int keep);
  void SelectRow(int row);
  void cbSortChange();
  void btnAddNewClick();
  void btnEditClick();
  void btnDeleteClick();
  // Enter, Insert and Delete in the table; false for the keys it leaves alone.
  bool sgTableKeyDown(int key);
  // Date order, then save; returns where the followed record ended up.
  int SortByDateAndSave(int follow);

  TAnniversaryList& anniversaries_;
  const TCfg& cfg_;
  DataPaths paths_;
  Ui& ui_;
  EditRecordFn editRecord_;
  bool sized_ = false;

  AnniversaryTableModel* model_;
  QTableView* sgTable_;
  QPushButton* btnAddNew_;
  QPushButton* btnEdit_;
  QPushButton* btnDelete_;
  QHBoxLayout* buttonLine_;
  QFrame* panSort_;
  QComboBox* cbSort_;
  QLabel* labRecords_;
  QPushButton* btnClose_;
};

// "Show Editor" of the main window: shows the table editor modally; once it has closed the
// list is back in date order and the report is redrawn. Nothing is saved here: every change
// was saved when it was made.
void ShowTableEditor(TfrmTable& table, TAnniversaryList& anniversaries, Ui& ui);

}  // namespace jubilora
