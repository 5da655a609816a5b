#include "platform/regional.h"

#include <QDate>

#include "core/text_codec.h"
#include "platform/clock.h"

namespace jubilora {

namespace {

const QString kIsoDate = QStringLiteral("yyyy-MM-dd");

// One piece of a Qt time format: a field letter run, or literal text.
struct Token {
  QChar field;  // 0 for literal text
  int width = 0;
  QString literal;
};

bool IsTimeField(QChar c) {
  return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u'z' || c == u'a' || c == u'A' ||
         c == u't';
}

std::vector<Token> Tokenize(const QString& format) {
  std::vector<Token> tokens;
  auto addLiteral = [&tokens](QChar c) {
    if (tokens.empty() || !tokens.back().field.isNull()) tokens.push_back(Token{});
    tokens.back().literal += c;
  };
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    if (c == u'\'') {
      // Quoted text; two quotes in a row stand for one.
      if (i + 1 < format.size() && format[i + 1] == u'\'') {
        addLiteral(c);
        i += 2;
        continue;
      }
      qsizetype j = i + 1;
      while (j < format.size()) {
        if (format[j] == u'\'') {
          if (j + 1 < format.size() && format[j + 1] == u'\'') {
            addLiteral(u'\'');
            j += 2;
            continue;
          }
          break;
        }
        addLiteral(format[j]);
        ++j;
      }
      i = j + 1;
      continue;
    }
    if (!IsTimeField(c)) {
      addLiteral(c);
      ++i;
      continue;
    }
    qsizetype j = i + 1;
    if (c == u'a' || c == u'A') {
      if (j < format.size() && (format[j] == u'p' || format[j] == u'P')) ++j;  // "AP"
    } else {
      while (j < format.size() && format[j] == c) ++j;
    }
    tokens.push_back(Token{c, static_cast<int>(j - i), {}});
    i = j;
  }
  return tokens;
}

// Blanks left over where a marker was dropped: one blank inside, none at either end.
QString CloseGaps(const QString& text, QChar gap) {
  QString result;
  for (qsizetype i = 0; i < text.size();) {
    if (text[i] != gap && !text[i].isSpace()) {
      result += text[i++];
      continue;
    }
    qsizetype j = i;
    bool hadGap = false;
    while (j < text.size() && (text[j] == gap || text[j].isSpace())) {
      hadGap = hadGap || text[j] == gap;
      ++j;
    }
    if (!hadGap) {
      result += text.mid(i, j - i);
    } else if (i > 0 && j < text.size()) {
      result += u' ';
    }
    i = j;
  }
  return result;
}

}  // namespace

QString WidenTwoDigitYear(const QString& format) {
  QString result;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    if (c == u'\'') quoted = !quoted;
    if (quoted || c != u'y') {
      result += c;
      ++i;
      continue;
    }
    qsizetype j = i;
    while (j < format.size() && format[j] == u'y') ++j;
    result += (j - i == 2) ? QStringLiteral("yyyy") : format.mid(i, j - i);
    i = j;
  }
  return result;
}

QtRegionalSettings::QtRegionalSettings() : QtRegionalSettings(QLocale::system()) {}

QtRegionalSettings::QtRegionalSettings(const QLocale& locale)
    : locale_(locale), shortDateFormat_(WidenTwoDigitYear(locale.dateFormat(QLocale::ShortFormat))) {
  locale_.setNumberOptions(QLocale::OmitGroupSeparator);
}

std::string QtRegionalSettings::FormatShortDate(DayNumber day) const {
  const QDate date = ToQDate(day);
  if (auto text = Utf8ToCp1252(locale_.toString(date, shortDateFormat_).toStdString())) return *text;
  return date.toString(kIsoDate).toStdString();
}

std::optional<DayNumber> QtRegionalSettings::ParseShortDate(const std::string& text) const {
  const QString unicode = QString::fromStdString(Cp1252ToUtf8(text)).trimmed();
  QDate date = locale_.toDate(unicode, shortDateFormat_);
  if (!date.isValid()) {
    // The stand-in form, but only where it is what FormatShortDate writes.
    date = QDate::fromString(unicode, kIsoDate);
    if (!date.isValid()) return std::nullopt;
    if (FormatShortDate(FromQDate(date)) != text) return std::nullopt;
  }
  return FromQDate(date);
}

std::string QtRegionalSettings::ListSeparator() const {
  return locale_.decimalPoint() == QStringLiteral(",") ? ";" : ",";
}

std::string QtRegionalSettings::FormatDuration(int seconds) const {
  if (seconds < 0) seconds = 0;
  const int values[3] = {seconds / 3600, seconds / 60 % 60, seconds % 60};
  auto number = [this](int value, int width) {
    QString digits = locale_.toString(value);
    if (width >= 2 && value < 10) digits.prepend(locale_.zeroDigit());
    return digits;
  };
  const QChar gap(0x1);
  QString text;
  for (const Token& token : Tokenize(locale_.timeFormat(QLocale::LongFormat))) {
    if (token.field.isNull()) {
      text += token.literal;
    } else if (token.field == u'h' || token.field == u'H') {
      text += number(values[0], token.width);
    } else if (token.field == u'm') {
      text += number(values[1], token.width);
    } else if (token.field == u's') {
      text += number(values[2], token.width);
    } else {
      text += gap;  // AM/PM, time zone, milliseconds
    }
  }
  if (auto result = Utf8ToCp1252(CloseGaps(text, gap).toStdString())) return *result;
  return QStringLiteral("%1:%2:%3")
      .arg(values[0])
      .arg(values[1], 2, 10, QLatin1Char('0'))
      .arg(values[2], 2, 10, QLatin1Char('0'))
      .toStdString();
}

}  // namespace jubilora
