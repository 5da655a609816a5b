#pragma once
// The report font's dialog: faces, styles, sizes from 8 to 24 points and the script, no
// effects. The character set is the settings' own and passes through unchanged.

#include <optional>

#include <QFont>
#include <QFontDialog>

#include "ui/presets.h"

namespace jubilora {

inline constexpr int MinFontPoints = 8;
inline constexpr int MaxFontPoints = 24;

QFont ToQFont(const ReportFont& font);
// Face, size and style from `font`; the character set is `charset`. Nothing when the face has
// no Windows-1252 name (the settings could not hold it).
std::optional<ReportFont> FromQFont(const QFont& font, int charset);

// The font dialog with the program's limits. Exposed so that tests can drive it.
class ReportFontDialog : public QFontDialog {
  Q_OBJECT
 public:
  ReportFontDialog(const ReportFont& initial, QWidget* owner);

 protected:
  void done(int result) override;

 private:
  void LimitSizeList();
};

// Runs the dialog modally; nothing when it was cancelled.
std::optional<ReportFont> ChooseReportFont(QWidget* owner, const ReportFont& current);

}  // namespace jubilora
