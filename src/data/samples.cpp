#include "data/samples.h"

#include <utility>

#include "core/ordering.h"
#include "data/atomic_file.h"

namespace jubilora {

std::optional<FileError> AddSamples(TAnniversaryList& anniversaries, const std::filesystem::path& sampleFile) {
  if (!PathExists(sampleFile)) return std::nullopt;
  TAnniversaryList samples;
  if (auto error = ReadRecordFile(sampleFile, samples)) return error;
  anniversaries.insert(anniversaries.end(), samples.begin(), samples.end());
  return std::nullopt;
}

void RemoveSamples(TAnniversaryList& anniversaries) { std::erase_if(anniversaries, IsSample); }

void AddSampleDataCommand(TAnniversaryList& anniversaries, const std::filesystem::path& sampleFile,
                          const DataPaths& paths, Ui& ui) {
  // On a copy, so that a sample file that cannot be read changes nothing; removing first
  // means that adding twice never doubles the samples.
  TAnniversaryList changed = anniversaries;
  RemoveSamples(changed);
  if (auto error = AddSamples(changed, sampleFile)) {
    ui.ReportError(error->Describe());
    return;
  }
  anniversaries = std::move(changed);
  SortByDate(anniversaries, -1);
  SaveData(anniversaries, paths, ui);
  ui.DisplayData();
}

void RemoveSampleDataCommand(TAnniversaryList& anniversaries, const DataPaths& paths, Ui& ui) {
  RemoveSamples(anniversaries);
  SaveData(anniversaries, paths, ui);
  ui.DisplayData();
}

}  // namespace jubilora
