#include "ui/font_catalog.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include "core/text_codec.h"

namespace jubilora {

QString FamilyName(const QString& listed) {
  const qsizetype foundry = listed.indexOf(QStringLiteral(" ["));
  return foundry < 0 ? listed : listed.left(foundry);
}

bool QtFontCatalog::IsInstalled(const std::string& family) const {
  const QString wanted = QString::fromStdString(Cp1252ToUtf8(family));
  if (wanted.isEmpty()) return false;
  const QStringList families = QFontDatabase::families();
  for (const QString& installed : families) {
    if (FamilyName(installed).compare(wanted, Qt::CaseInsensitive) == 0 ||
        installed.compare(wanted, Qt::CaseInsensitive) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace jubilora
