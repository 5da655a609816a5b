#pragma once
// The report font's dialog: faces, styles, sizes from 8 to 24 points and the script (the
// character set the settings keep), no effects. Its sample shows the font as chosen so far.

#include <optional>

#include <QDialog>
#include <QFont>

#include "ui/presets.h"

class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace jubilora {

inline constexpr int MinFontPoints = 8;
inline constexpr int MaxFontPoints = 24;

QFont ToQFont(const ReportFont& font);

class ReportFontDialog : public QDialog {
  Q_OBJECT
 public:
  ReportFontDialog(const ReportFont& initial, QWidget* owner);

  ReportFont Chosen() const;

 private:
  void FillFaces(const std::string& initial);
  void FillScripts();
  void UpdateSample();

  QListWidget* faces_ = nullptr;
  QListWidget* styles_ = nullptr;
  QSpinBox* size_ = nullptr;
  QComboBox* script_ = nullptr;
  QLabel* sample_ = nullptr;
};

// Runs the dialog modally, centred on its owner; nothing when it was cancelled.
std::optional<ReportFont> ChooseReportFont(QWidget* owner, const ReportFont& current);

}  // namespace jubilora
