#include "data/samples.h"

#include <system_error>
#include <vector>

#include "core/ordering.h"

namespace jubilora {

namespace {

// Read whole, or nothing when the file is not there.
std::optional<FileError> ReadSampleFile(const std::filesystem::path& sampleFile, TAnniversaryList& samples) {
  std::error_code ec;
  // A file whose state cannot be learned counts as present, so that reading it reports why.
  if (std::filesystem::symlink_status(sampleFile, ec).type() == std::filesystem::file_type::not_found) {
    samples.clear();
    return std::nullopt;
  }
  return ReadRecordFile(sampleFile, samples);
}

}  // namespace

std::optional<FileError> AddSamples(TAnniversaryList& anniversaries, const std::filesystem::path& sampleFile) {
  TAnniversaryList samples;
  if (auto error = ReadSampleFile(sampleFile, samples)) return error;
  anniversaries.insert(anniversaries.end(), samples.begin(), samples.end());
  return std::nullopt;
}

void RemoveSamples(TAnniversaryList& anniversaries) { std::erase_if(anniversaries, IsSample); }

void AddSampleDataCommand(TAnniversaryList& anniversaries, const std::filesystem::path& sampleFile,
                          const DataPaths& paths, Ui& ui) {
  // The file is read before the old samples go, so a failed read changes nothing.
  TAnniversaryList samples;
  if (auto error = ReadSampleFile(sampleFile, samples)) {
    ui.ReportError(error->Describe());
    return;
  }
  // Removing first means that adding twice never doubles the samples.
  RemoveSamples(anniversaries);
  anniversaries.insert(anniversaries.end(), samples.begin(), samples.end());
  SortByDate(anniversaries, -1);
  SaveData(anniversaries, paths, ui);
  ui.DisplayData();
}

void RemoveSampleDataCommand(TAnniversaryList& anniversaries, const DataPaths& paths, Ui& ui) {
  RemoveSamples(anniversaries);
  SaveData(anniversaries, paths, ui);
  ui.DisplayData();
}

void MakeSampleCommand(TAnniversaryList& anniversaries, const DataPaths& paths, Ui& ui) {
  for (TAnniversary& record : anniversaries) record.Importance = SampleImportance;
  SaveData(anniversaries, paths, ui);
}

}  // namespace jubilora
