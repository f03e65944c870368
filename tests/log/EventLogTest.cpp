// The dated event log: the file's bytes, duplicate suppression, the recent-entry ring, a log file
// that cannot be opened, and two threads writing at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "log/EventLog.h"
#include "support/FakeClock.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

namespace fs = std::filesystem;

class EventLogTest : public ::testing::Test {
 protected:
  std::string LogText() const { return test::file_text(log_dir_ / "MAVPCI1.log"); }

  const test::ScratchDirectory root_;
  const fs::path log_dir_ = root_ / "Logs";
  test::FakeClock clock_;  // 5 March 2004, 07:04:09
  EventLog log_{log_dir_, clock_};
};

// The log directory is made when the first entry needs it.
TEST_F(EventLogTest, EntryIsStampedMonthFirstAndEndsInALineFeed) {
  EXPECT_EQ(log_.log_file_name(), "MAVPCI1.log");
  EXPECT_FALSE(fs::exists(log_dir_));
  log_.write_log_entry("message");
  EXPECT_EQ(LogText(), "03/05/2004  07:04:09  message\n");
  EXPECT_EQ(log_.recent_entries()[0], "03/05/2004  07:04:09  message\n");
  EXPECT_EQ(log_.recent_index(), 1);

  clock_.set_local_time({2011, 12, 31, 23, 59, 58});
  log_.write_log_entry("*** MAV Controller shut down");
  EXPECT_EQ(LogText(),
            "03/05/2004  07:04:09  message\n"
            "12/31/2011  23:59:58  *** MAV Controller shut down\n");
}

// A bare name lives in the log directory; an absolute path is used as it is.
TEST_F(EventLogTest, LogFileNamesAndWhereTheirFilesGo) {
  const fs::path chosen = root_ / "chosen.log";
  for (const auto& [name, path] : {std::pair{std::string("Shift2.log"), log_dir_ / "Shift2.log"},
                                   std::pair{chosen.string(), chosen}}) {
    SCOPED_TRACE(name);
    log_.set_log_file_name(name);
    EXPECT_EQ(log_.log_file_path(), path);
    log_.write_log_entry("New log " + name);
    EXPECT_EQ(test::file_text(path), "03/05/2004  07:04:09  New log " + name + "\n");
  }
}

TEST_F(EventLogTest, AppendsToWhatTheFileAlreadyHolds) {
  fs::create_directories(log_dir_);
  std::ofstream(log_dir_ / "MAVPCI1.log") << "earlier run\n";
  log_.write_log_entry("later run");
  EXPECT_EQ(LogText(), "earlier run\n03/05/2004  07:04:09  later run\n");
}

TEST_F(EventLogTest, ARepeatedMessageIsWrittenOnceUntilAnotherComesBetween) {
  log_.write_log_entry("Lost contact");
  log_.write_log_entry("Lost contact");
  EXPECT_EQ(log_.recent_index(), 1);
  log_.write_log_entry("Contact");
  log_.write_log_entry("Lost contact");
  EXPECT_EQ(LogText(),
            "03/05/2004  07:04:09  Lost contact\n"
            "03/05/2004  07:04:09  Contact\n"
            "03/05/2004  07:04:09  Lost contact\n");
  log_.write_log_entry("Lost contactX");  // a longer text is a different message
  EXPECT_EQ(log_.recent_index(), 4);
}

TEST_F(EventLogTest, RingKeepsThe255FirstCharactersOfALineAndWrapsAfterThirtyEntries) {
  const std::string message(400, 'x');
  log_.write_log_entry(message);
  const std::string line = "03/05/2004  07:04:09  " + message + "\n";
  EXPECT_EQ(LogText(), line);
  EXPECT_EQ(log_.recent_entries()[0], line.substr(0, 255));

  for (int i = 2; i <= 30; ++i) log_.write_log_entry("entry " + std::to_string(i));
  EXPECT_EQ(log_.recent_index(), 0);
  log_.write_log_entry("entry 31");
  const auto ring = log_.recent_entries();
  ASSERT_EQ(ring.size(), 30u);
  EXPECT_EQ(ring[0], "03/05/2004  07:04:09  entry 31\n");
  EXPECT_EQ(ring[1], "03/05/2004  07:04:09  entry 2\n");
  EXPECT_EQ(ring[29], "03/05/2004  07:04:09  entry 30\n");
  EXPECT_EQ(log_.recent_index(), 1);
}

TEST_F(EventLogTest, AnUnopenableLogFileDropsTheEntrySilently) {
  fs::create_directories(log_dir_ / "taken");  // a folder where the file should be
  log_.set_log_file_name("taken");
  log_.write_log_entry("lost entry");
  EXPECT_EQ(log_.recent_index(), 0);
  EXPECT_EQ(log_.recent_entries()[0], "");

  // The message still counts as the last one written.
  log_.set_log_file_name("MAVPCI1.log");
  log_.write_log_entry("lost entry");
  EXPECT_FALSE(fs::exists(log_dir_ / "MAVPCI1.log"));
  log_.write_log_entry("next entry");
  EXPECT_EQ(LogText(), "03/05/2004  07:04:09  next entry\n");
  EXPECT_EQ(log_.recent_index(), 1);
}

TEST_F(EventLogTest, TwoThreadsWritingAtOnceKeepEveryLineWhole) {
  constexpr int kPerThread = 400;
  auto writer = [this](char who) {
    for (int i = 0; i < kPerThread; ++i) {
      log_.write_log_entry(std::string(1, who) + " event " + std::to_string(i));
    }
  };
  std::thread ui(writer, 'U');
  std::thread worker(writer, 'W');
  ui.join();
  worker.join();

  std::istringstream lines(LogText());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    ASSERT_EQ(line.rfind("03/05/2004  07:04:09  ", 0), 0u) << line;
    const char who = line[22];
    ASSERT_TRUE(who == 'U' || who == 'W') << line;
    ASSERT_EQ(line.substr(23, 7), " event ") << line;
  }
  EXPECT_EQ(count, 2 * kPerThread);
  EXPECT_EQ(log_.recent_index(), (2 * kPerThread) % 30);
}

}  // namespace
}  // namespace mav
