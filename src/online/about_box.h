#pragma once
// TfrmAbout: the program's name, version, a few words of instruction and a picture.

#include <QDialog>
#include <functional>

class QPushButton;
class QShowEvent;

namespace jubilora {

class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  // `runHelp` opens the help, or reports why it cannot, and says whether it opened.
  TfrmAbout(QWidget* owner, std::function<bool()> runHelp);

  // The initial size at the default font; a larger font makes it larger.
  static constexpr int ClientWidth = 560;
  static constexpr int ClientHeight = 350;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void btnHelpClick();

  std::function<bool()> runHelp_;
  QPushButton* btnOK_;
};

}  // namespace jubilora
