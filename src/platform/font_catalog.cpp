#include "platform/font_catalog.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include "core/text_codec.h"

namespace jubilora {

bool QtFontCatalog::IsInstalled(const std::string& family) const {
  const QString wanted = QString::fromStdString(Cp1252ToUtf8(family));
  if (wanted.isEmpty()) return false;
  const QStringList families = QFontDatabase::families();
  for (const QString& installed : families) {
    // A family offered by several foundries is listed as "Family [Foundry]".
    const qsizetype foundry = installed.indexOf(QStringLiteral(" ["));
    const QString name = foundry < 0 ? installed : installed.left(foundry);
    if (name.compare(wanted, Qt::CaseInsensitive) == 0 || installed.compare(wanted, Qt::CaseInsensitive) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace jubilora
