#include "ui/font_choice.h"

#include <algorithm>

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>

#include "ui/qt_text.h"

namespace jubilora {

namespace {

constexpr const char* FontDialogTitle = "Font";

// QFontDialog names its parts nowhere; the size field is the one that takes whole numbers.
QLineEdit* SizeEdit(QFontDialog& dialog) {
  for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
    if (qobject_cast<const QIntValidator*>(edit->validator()) != nullptr) return edit;
  return nullptr;
}

// The size list is the one whose rows read as numbers.
QListView* SizeList(QFontDialog& dialog) {
  for (QListView* list : dialog.findChildren<QListView*>()) {
    const QAbstractItemModel* model = list->model();
    if (model == nullptr || model->rowCount() == 0) continue;
    bool numeric = false;
    model->index(0, 0).data().toString().toInt(&numeric);
    if (numeric) return list;
  }
  return nullptr;
}

QString FamilyOnly(QString family) {
  // A family offered by several foundries comes back as "Family [Foundry]".
  const qsizetype foundry = family.indexOf(QStringLiteral(" ["));
  if (foundry >= 0) family.truncate(foundry);
  return family;
}

}  // namespace

QFont ToQFont(const ReportFont& font) {
  QFont qfont(FromCp1252(font.Name));
  qfont.setPointSize(std::max(1, font.Size));
  qfont.setBold(font.Bold);
  qfont.setItalic(font.Italic);
  return qfont;
}

std::optional<ReportFont> FromQFont(const QFont& font, int charset) {
  const std::optional<std::string> name = ToCp1252(FamilyOnly(font.family()));
  if (!name || name->empty()) return std::nullopt;
  ReportFont result;
  result.Name = *name;
  result.Size = std::clamp(qRound(font.pointSizeF()), MinFontPoints, MaxFontPoints);
  result.Bold = font.bold();
  result.Italic = font.italic();
  result.Charset = charset;
  return result;
}

ReportFontDialog::ReportFontDialog(const ReportFont& initial, QWidget* owner) : QFontDialog(owner) {
  setObjectName(QStringLiteral("dlgFont"));
  setWindowTitle(QString::fromLatin1(FontDialogTitle));
  setOption(QFontDialog::DontUseNativeDialog);
  setCurrentFont(ToQFont(initial));
  // No effects: the report has no use for colour, underline or strike-out.
  for (QGroupBox* group : findChildren<QGroupBox*>())
    if (group->title().contains(QStringLiteral("Effects"))) group->hide();
  if (QLineEdit* edit = SizeEdit(*this)) edit->setValidator(new QIntValidator(MinFontPoints, MaxFontPoints, edit));
  if (QListView* list = SizeList(*this)) {
    // The dialog refills its size list whenever the face or the style changes.
    connect(list->model(), &QAbstractItemModel::modelReset, this, &ReportFontDialog::LimitSizeList);
    LimitSizeList();
  }
}

void ReportFontDialog::LimitSizeList() {
  QListView* list = SizeList(*this);
  if (list == nullptr) return;
  const QAbstractItemModel* model = list->model();
  for (int row = 0; row < model->rowCount(); ++row) {
    const int points = model->index(row, 0).data().toString().toInt();
    list->setRowHidden(row, points < MinFontPoints || points > MaxFontPoints);
  }
}

void ReportFontDialog::done(int result) {
  // A size typed half-way (a lone "3") is held to the limits rather than taken as it is.
  if (result == QDialog::Accepted) {
    QFont font = currentFont();
    const int points = qRound(font.pointSizeF());
    if (points < MinFontPoints || points > MaxFontPoints) {
      font.setPointSize(std::clamp(points, MinFontPoints, MaxFontPoints));
      setCurrentFont(font);
    }
  }
  QFontDialog::done(result);
}

std::optional<ReportFont> ChooseReportFont(QWidget* owner, const ReportFont& current) {
  ReportFontDialog dialog(current, owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQFont(dialog.selectedFont(), current.Charset);
}

}  // namespace jubilora
