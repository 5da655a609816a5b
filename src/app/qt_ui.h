#pragma once
// The Ui port with Qt widgets: the answer dialog, the file dialogs, the generic error
// report, the report redraw of the main window and what follows each save.

#include <functional>

#include "core/ports.h"

class QWidget;

namespace jubilora {

class QtUi : public Ui {
 public:
  QtUi(QWidget* owner, std::function<void()> displayData,
       std::function<void(const TAnniversaryList&)> dataSaved = {});

  int AnswerDialog(const std::string& caption, const std::string& message, const std::vector<std::string>& buttons,
                   IconKind icon, bool canCancel) override;
  std::optional<std::filesystem::path> ChooseSaveFile(const FileDialogOptions& request) override;
  std::optional<std::filesystem::path> ChooseOpenFile(const FileDialogOptions& request) override;
  void ReportError(const std::string& text) override;
  void DisplayData() override;
  void DataSaved(const TAnniversaryList& saved) override;

 private:
  QWidget* owner_;
  std::function<void()> displayData_;
  std::function<void(const TAnniversaryList&)> dataSaved_;
};

}  // namespace jubilora
