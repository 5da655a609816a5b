#pragma once
// TfrmTable: every record in a grid, sorted by the user's choice, with add, edit and delete.
// The grid shows the list in the order it stands in; sorting for display reorders the list
// itself, and every accepted change is saved at once.

#include <QDialog>
#include <functional>

#include "core/anniversary.h"
#include "core/ordering.h"
#include "core/ports.h"
#include "core/settings.h"
#include "data/data_file.h"

class QComboBox;
class QEvent;
class QKeyEvent;
class QLabel;
class QPushButton;
class QShowEvent;
class QTableWidget;

namespace jubilora {

// Opens the record editor modally: adding (the accepted record is appended last) or editing
// the record at editedIndex in place. True when the user accepted, i.e. the list changed.
using EditRecordFn = std::function<bool(bool addingRecord, int editedIndex)>;

class TfrmTable : public QDialog {
  Q_OBJECT
 public:
  static constexpr int ClientWidth = 792;
  static constexpr int ClientHeight = 521;
  static constexpr int RowHeight = 18;
  static constexpr int CellTextLeft = 2;

  TfrmTable(QWidget* mainWindow, TAnniversaryList& anniversaries, const TCfg& cfg, const DataPaths& paths,
            Ui& ui, EditRecordFn editRecord);

  // Centred on the screen and modal; every showing reloads the grid from the list.
  void Execute();

  // The record of the selected row, or -1 when no record is selected.
  int SelectedRecord() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FillGrid();
  void SelectAndApplySort(int keep);
  void cbSortChange();
  void btnAddNewClick();
  void btnEditClick();
  void btnDeleteClick();
  void btnCloseClick();
  bool sgTableKeyDown(const QKeyEvent& event);
  void sgTableDblClick();
  // Date order, then save; returns where the followed record ended up.
  int SortByDateAndSave(int follow);
  void CentreOnScreen();

  TAnniversaryList& anniversaries_;
  const TCfg& cfg_;
  DataPaths paths_;
  Ui& ui_;
  EditRecordFn editRecord_;

  QTableWidget* sgTable_;
  QPushButton* btnAddNew_;
  QPushButton* btnEdit_;
  QPushButton* btnDelete_;
  QComboBox* cbSort_;
  QLabel* labRecords_;
  QPushButton* btnClose_;
};

// "Show Editor" of the main window: shows the table editor modally; once it has closed the
// list is back in date order and the report is redrawn. Nothing is saved here: every change
// was saved when it was made.
void ShowTableEditor(TfrmTable& table, TAnniversaryList& anniversaries, Ui& ui);

}  // namespace jubilora
