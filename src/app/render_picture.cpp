#include "app/render_picture.h"

#include <QBuffer>

#include <ostream>
#include <string_view>

#include "app/headless.h"
#include "data/data_file.h"
#include "data/destination.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"
#include "ui/font_catalog.h"
#include "ui/system_colors.h"

namespace jubilora {

namespace {

constexpr const char* CannotEncode = "The picture could not be encoded as PNG";

}  // namespace

int RenderPicture(const CommandLine& commandLine, const ProgramPaths& paths, std::ostream& err) {
  const DayNumber today = commandLine.today.value_or(Clock::Today());
  TAnniversaryList list;
  if (const auto error = LoadData(paths.Data(), list)) return ReportFailure(err, *error);
  const QtFontCatalog fonts;
  const TCfg cfg = ReadReportSettings(paths, fonts, QtRegionalSettings(), today, err);

  InitResources();
  const QtTextMeasurer measurer(cfg);
  const KindIcons icons;
  const auto entries = PrepareReportEntries(list, cfg, today);
  const QImage picture = PaintReport(LayoutReport(list, entries, cfg, today, measurer, QtSystemColors()), cfg, icons);
  QByteArray png;
  QBuffer buffer(&png);
  const std::string& file = commandLine.file;
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
    return ReportFailure(err, FileError{file, FileAction::Write, CannotEncode});
  }
  const auto bytes = std::string_view(png.constData(), static_cast<std::size_t>(png.size()));
  if (auto error = WriteChosenFile(file, bytes, ProgramFiles(paths))) return ReportFailure(err, *error);
  return 0;
}

}  // namespace jubilora
