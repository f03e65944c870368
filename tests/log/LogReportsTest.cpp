// The files the log viewers open: the recent-entry report, the byte-for-byte copy of the log,
// and the switch to a new log file, all on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "log/EventLog.h"
#include "log/LogReports.h"
#include "support/FakeClock.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

namespace fs = std::filesystem;

constexpr const char* kReportHeader =
    "Most recent entries appear first\n\n"
    "Date        Time    Module   Action\n"
    "---------------------------------------------------------------------\n";

class LogReportsTest : public ::testing::Test {
 protected:
  void write_entries(int count) {
    for (int i = 1; i <= count; ++i) log_.write_log_entry("entry " + std::to_string(i));
  }
  // The report's lines for entries `newest` down to `oldest`.
  static std::string entries(int newest, int oldest) {
    std::string lines;
    for (int i = newest; i >= oldest; --i) {
      lines += "03/05/2004  07:04:09  entry " + std::to_string(i) + "\n";
    }
    return lines;
  }

  const test::ScratchDirectory root_;
  const fs::path log_dir_ = root_ / "Logs";
  test::FakeClock clock_;  // 5 March 2004, 07:04:09
  EventLog log_{log_dir_, clock_};
};

TEST_F(LogReportsTest, RecentReportListsTheRingNewestFirst) {
  const struct {
    int written, newest, oldest;  // oldest > newest: no entry line at all
  } cases[] = {{0, 0, 1}, {3, 3, 1}, {30, 30, 1}, {31, 31, 2}, {35, 35, 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    EventLog log(root_ / ("Logs" + std::to_string(c.written)), clock_);
    for (int i = 1; i <= c.written; ++i) log.write_log_entry("entry " + std::to_string(i));
    const fs::path report = root_ / "Recent.txt";
    ASSERT_TRUE(write_recent_report(log, report));
    EXPECT_EQ(test::file_text(report), kReportHeader + entries(c.newest, c.oldest));
  }
}

TEST_F(LogReportsTest, RecentReportReplacesAnEarlierOneAndFailsWhereNoFileCanBe) {
  const fs::path report = root_ / "Recent.txt";
  write_entries(2);
  std::ofstream(report) << std::string(5000, 'x');
  ASSERT_TRUE(write_recent_report(log_, report));
  EXPECT_EQ(test::file_text(report), kReportHeader + entries(2, 1));

  EXPECT_FALSE(write_recent_report(log_, root_ / "no-such-folder" / "Recent.txt"));
}

TEST_F(LogReportsTest, CopyOfTheLogIsByteForByte) {
  fs::create_directories(log_dir_);
  std::string bytes("line\r\nnul\0byte\xff", 15);
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i * 7);  // more than one block
  std::ofstream(log_dir_ / "MAVPCI1.log", std::ios::binary) << bytes;
  write_entries(1);
  const fs::path copy = log_dir_ / "MAVLog_tmp.txt";
  ASSERT_TRUE(copy_entire_log(log_, copy));
  EXPECT_EQ(test::file_text(copy), bytes + entries(1, 1));

  log_.set_log_file_name("missing.log");
  EXPECT_FALSE(copy_entire_log(log_, copy));
}

TEST_F(LogReportsTest, NewLogStartsWithTheHeaderAndTakesTheNextEntries) {
  write_entries(1);
  const fs::path fresh = root_ / "Shift2.log";
  const fs::path kept = root_ / "Kept.log";
  std::ofstream(kept) << "earlier\n";
  const std::string header =
      "Date        Time    Module   Action\n"
      "---------------------------------------------------------------------\n";
  for (const fs::path& chosen : {fresh, kept}) {
    SCOPED_TRACE(chosen);
    const std::string before = test::file_text(chosen);
    start_new_log(log_, chosen.string());
    log_.write_log_entry("after " + chosen.filename().string());
    EXPECT_EQ(test::file_text(chosen),
              before + header + "03/05/2004  07:04:09  after " + chosen.filename().string() + "\n");
  }
  EXPECT_EQ(test::file_text(log_dir_ / "MAVPCI1.log"), entries(1, 1));
}

}  // namespace
}  // namespace mav
