#pragma once
// The description field of the record editor: the record holds at most 50 Windows-1252
// characters, so the field refuses a character that the record cannot store just as it
// refuses a 51st. Pasted text keeps what fits.

#include <string>

#include <QLineEdit>
#include <QString>

namespace jubilora {

class DescriptionEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit DescriptionEdit(QWidget* parent);

  // Shows a stored description exactly as it is, whatever bytes it holds.
  void LoadText(const QString& text);
  // The field's text as Windows-1252 bytes.
  std::string Bytes() const;

  // What an edit turns `before` into when it produced `after`: the inserted characters
  // without those the record cannot store, cut to the room left. `cursor` becomes the end
  // of what was kept.
  static QString Filtered(const QString& before, const QString& after, int& cursor);

 private:
  QString committed_;
  bool loading_ = false;

  friend class DescriptionValidator;
};

}  // namespace jubilora
