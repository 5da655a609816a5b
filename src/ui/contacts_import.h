#pragma once
// "Import from Contacts": the dates of a vCard file shown before anything is saved, each with
// a tick, and one importance and reminder period for all of them.

#include <optional>
#include <vector>

#include <QDialog>

#include "core/anniversary.h"
#include "core/ports.h"
#include "core/settings.h"
#include "data/data_file.h"
#include "ui/contacts_import_model.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace jubilora {

class ContactsImportDialog : public QDialog {
  Q_OBJECT
 public:
  // The size it opens with at the desktop's usual font: within 1280 x 1024 at scale factor 2.
  static constexpr int InitialWidth = 620;
  static constexpr int InitialHeight = 480;

  // `fileName` is what the user knows the file by, shown above the dates.
  ContactsImportDialog(QWidget* owner, std::vector<ImportRow> rows, const TCfg& cfg, const QString& fileName);

  // Modal, centred on the owner. The ticked dates as records with the chosen importance and
  // reminder period, or nothing when the user cancelled.
  std::optional<TAnniversaryList> Execute();

 private:
  void CreateControls(const QString& fileName);
  void BuildLayout();
  int TableWidth() const;
  void TicksChanged();
  void cbDefaultClick();

  const TCfg& cfg_;
  ContactsImportModel* model_;
  QLabel* labFound_ = nullptr;
  QTableView* tvDates_ = nullptr;
  QLabel* labCount_ = nullptr;
  QLabel* labImportance_ = nullptr;
  QComboBox* cbImportance_ = nullptr;
  QLabel* labStart_ = nullptr;
  QSpinBox* cseStart_ = nullptr;
  QLabel* labDaysBefore_ = nullptr;
  QCheckBox* cbDefault_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QPushButton* btnImport_ = nullptr;
};

// The whole dialogue of "Anniversary > Import from Contacts...": picks a file, reads it, shows
// the preview and adds the ticked dates with one save and a redraw. What could not be read is
// told afterwards; nothing is written when the user cancels or the file cannot be read.
void ImportContactsCommand(QWidget* owner, TAnniversaryList& anniversaries, const DataPaths& paths, const TCfg& cfg,
                           Ui& ui);

}  // namespace jubilora
