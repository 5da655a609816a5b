// Saves killed exactly before each rename of the backup rotation (a kill anywhere else only
// leaves a temporary file behind), many times in a row: after every kill the data that loads
// is the last acknowledged list or the one being saved, whole, and what a kill leaves behind
// goes with the next save.

#include <atomic>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/ordering.h"
#include "data/data_file.h"
#include "support/fake_ui.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace {
// How many renames the process may still make before it kills itself; -1: no limit.
std::atomic<int> renamesBeforeKill{-1};
}  // namespace

// Every save of this program renames through here.
extern "C" int rename(const char* from, const char* to) {
  if (renamesBeforeKill.load() == 0) kill(getpid(), SIGKILL);
  if (renamesBeforeKill.load() > 0) --renamesBeforeKill;
  return renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace jubilora {
namespace {

namespace fs = std::filesystem;

// The list of n records, as a load returns it.
std::string Saved(int n) {
  TAnniversaryList list;
  for (int i = 0; i < n; ++i) {
    list.push_back(test::Record(static_cast<std::uint8_t>(1 + i % 7), 1950 + i % 60, 1 + i % 12, 1 + i % 28,
                                "R" + std::to_string(i)));
  }
  SortByDate(list, 0);
  return EncodeRecords(list);
}

class SaveCrash : public ::testing::Test {
 protected:
  // A child saves the lists of last + 1, last + 2, ... records, acknowledging each on a
  // pipe, until it kills itself before rename number `killAtRename`. Then the data that
  // loads must be the last acknowledged list or the next, whole.
  void KillSaverAndCheck(int round, int killAtRename) {
    int acks[2];
    ASSERT_EQ(pipe(acks), 0);
    const pid_t child = fork();
    if (child == 0) {
      close(acks[0]);
      renamesBeforeKill = killAtRename;
      test::FakeUi ui;
      for (int n = last + 1;; ++n) {
        TAnniversaryList list = DecodeRecords(Saved(n));
        if (SaveData(list, paths, ui) || write(acks[1], &n, sizeof n) != sizeof n) _exit(3);
      }
    }
    close(acks[1]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saver ended by itself: " << status;
    for (int acked = 0; read(acks[0], &acked, sizeof acked) == sizeof acked;) last = acked;
    close(acks[0]);

    TAnniversaryList loaded;
    ASSERT_EQ(LoadData(paths, loaded), std::nullopt) << "round " << round;
    const std::string bytes = EncodeRecords(loaded);
    ASSERT_TRUE(bytes == Saved(last) || bytes == Saved(last + 1))
        << "round " << round << ": " << loaded.size() << " records after acknowledging " << last;
    last = static_cast<int>(loaded.size());
  }

  // The kills end processes, not the machine, so what the disk has flushed makes no
  // difference here; in memory the flushes cost nothing and the test stays short.
  test::TempDir dir{fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()};
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  int last = 0;  // records in the last acknowledged save
};

TEST_F(SaveCrash, EveryKillLeavesTheLastAcknowledgedOrTheNewDataWhole) {
  // Before the first, second, ... rename: the kills between the two renames leave no data
  // file, and the next saver's first rename is killed again.
  const int pattern[] = {1, 0, 0, 2, 1, 3, 1, 1, 4};
  for (int round = 0; round < 150; ++round) {
    ASSERT_NO_FATAL_FAILURE(KillSaverAndCheck(round, pattern[round % std::size(pattern)]));
  }

  // What the kills left behind goes with the next save.
  TAnniversaryList list = DecodeRecords(Saved(last));
  test::FakeUi ui;
  ASSERT_EQ(SaveData(list, paths, ui), std::nullopt);
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".jubilora.jld.")) << entry.path();
  }
}

}  // namespace
}  // namespace jubilora
