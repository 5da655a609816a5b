#include "ui/description_edit.h"

#include <algorithm>

#include <QValidator>

#include "core/anniversary.h"
#include "core/text_codec.h"
#include "ui/qt_text.h"

namespace jubilora {

namespace {

// A character the user may type into a description: one the record can store, and no
// control character.
bool IsStorableCharacter(char32_t codePoint) {
  if (codePoint < 0x20 || codePoint == 0x7F) return false;
  // The five bytes Windows-1252 leaves undefined only survive from old files.
  if (codePoint >= 0x80 && codePoint <= 0x9F) return false;
  return Cp1252FromCodePoint(codePoint).has_value();
}

QString StorablePart(const QString& text) {
  QString kept;
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t codePoint = text[i].unicode();
    qsizetype units = 1;
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
      units = 2;
    }
    if (IsStorableCharacter(codePoint)) kept += text.mid(i, units);
    i += units - 1;
  }
  return kept;
}

}  // namespace

// The line edit asks this after every change. A change that keeps nothing new is refused
// as a whole, so that the field's undo history stays as it was.
class DescriptionValidator : public QValidator {
 public:
  explicit DescriptionValidator(DescriptionEdit* edit) : QValidator(edit), edit_(edit) {}

  State validate(QString& input, int& pos) const override {
    if (edit_->loading_) return Acceptable;
    const QString filtered = DescriptionEdit::Filtered(edit_->committed_, input, pos);
    if (filtered == edit_->committed_ && input != edit_->committed_) return Invalid;
    input = filtered;
    return Acceptable;
  }

 private:
  DescriptionEdit* edit_;
};

DescriptionEdit::DescriptionEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new DescriptionValidator(this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { committed_ = text; });
}

void DescriptionEdit::LoadText(const QString& text) {
  loading_ = true;
  setText(text);
  loading_ = false;
  committed_ = text;
}

std::string DescriptionEdit::Bytes() const {
  if (auto bytes = ToCp1252(text())) return *bytes;
  // Only stored text gets past the filter, and that converts back; keep what can be kept.
  return ToCp1252(StorablePart(text())).value_or(std::string());
}

QString DescriptionEdit::Filtered(const QString& before, const QString& after, int& cursor) {
  const qsizetype shorter = std::min(before.size(), after.size());
  qsizetype prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const auto limit = static_cast<qsizetype>(MaxDescriptionLength);
  const qsizetype room = std::max<qsizetype>(0, limit - prefix - suffix);
  const QString inserted = StorablePart(after.mid(prefix, after.size() - prefix - suffix)).left(room);
  cursor = static_cast<int>(prefix + inserted.size());
  return after.left(prefix) + inserted + after.right(suffix);
}

}  // namespace jubilora
