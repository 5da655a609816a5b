#pragma once
// TfrmAbout: the program's name, version, a few words of instruction and a picture.

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace jubilora {

class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  // `runHelp` opens the help and says whether the viewer started.
  TfrmAbout(QWidget* owner, std::function<bool()> runHelp);

  static constexpr int ClientWidth = 560;
  static constexpr int ClientHeight = 350;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormActivate();
  void btnHelpClick();

  std::function<bool()> runHelp_;
  QLabel* labTitle_;
  QLabel* labVersion_;
  QLabel* labInstructions_;
  QPushButton* btnOK_;
  QPushButton* btnHelp_;
};

}  // namespace jubilora
