#pragma once
// The user's regional formats, from the system locale.

#include <string>

#include <QLocale>
#include <QString>

#include "core/ports.h"

namespace jubilora {

class QtRegionalSettings : public RegionalSettings {
 public:
  QtRegionalSettings();  // QLocale::system()
  explicit QtRegionalSettings(const QLocale& locale);

  // Texts are Windows-1252, like every text of the program. Where the locale writes a
  // date or a duration with characters Windows-1252 lacks, the plain forms "yyyy-MM-dd"
  // and "h:mm:ss" stand in, and a date so written reads back.
  std::string FormatShortDate(DayNumber day) const override;
  std::optional<DayNumber> ParseShortDate(const std::string& text) const override;
  // ";" where the decimal separator is a comma, "," otherwise.
  std::string ListSeparator() const override;
  // Hours, minutes and seconds in the long time format's order and with its separators,
  // without AM/PM marker or time zone; hours count on past 12 and 24.
  std::string FormatDuration(int seconds) const override;

 private:
  QLocale locale_;
  // With a two-digit year widened to four digits, so that a date written in it reads back as
  // the same day.
  QString shortDateFormat_;
};

// "yy" -> "yyyy" outside quoted text; "yyyy" stays.
QString WidenTwoDigitYear(const QString& format);

}  // namespace jubilora
