#pragma once
// Sample data: example records marked by Importance 255, taken from the sample file beside
// the program and removed again in one step.

#include <filesystem>
#include <optional>

#include "core/anniversary.h"
#include "core/ports.h"
#include "data/data_file.h"

namespace jubilora {

inline bool IsSample(const TAnniversary& record) { return record.Importance == SampleImportance; }

// Appends the records of the sample file, unchanged, at the end of the list. A missing
// file adds nothing. The whole file is read first: a failure leaves the list as it was.
std::optional<FileError> AddSamples(TAnniversaryList& anniversaries, const std::filesystem::path& sampleFile);

// Deletes every sample record; the others keep their order.
void RemoveSamples(TAnniversaryList& anniversaries);

// "Add &Sample Data", and the first run's "&Yes, add samples": replaces the samples in the
// list by those of the file, sorts, saves and redraws. A sample file that cannot be read
// is reported and changes nothing.
void AddSampleDataCommand(TAnniversaryList& anniversaries, const std::filesystem::path& sampleFile,
                          const DataPaths& paths, Ui& ui);

// "&Remove Sample Data": removes the samples, saves and redraws.
void RemoveSampleDataCommand(TAnniversaryList& anniversaries, const DataPaths& paths, Ui& ui);

}  // namespace jubilora
