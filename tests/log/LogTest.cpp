// The dated event log and the files its viewers open, on real files and a fake clock.
#include <gtest/gtest.h>

#include <fstream>

#include "log/EventLog.h"
#include "log/LogReports.h"
#include "support/FakeClock.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

namespace fs = std::filesystem;
using test::file_text;

constexpr const char* kStamp = "03/05/2004  07:04:09  ";  // the fake clock's local time
constexpr const char* kHeader =
    "Date        Time    Module   Action\n"
    "---------------------------------------------------------------------\n";

class Log : public ::testing::Test {
 protected:
  std::string text() const { return file_text(dir / "MAVPCI1.log"); }
  void write(int from, int to) {
    for (int i = from; i <= to; ++i) log.write_log_entry("entry " + std::to_string(i));
  }
  static std::string entries(int newest, int oldest) {
    std::string lines;
    for (int i = newest; i >= oldest; --i) lines += kStamp + ("entry " + std::to_string(i)) + "\n";
    return lines;
  }

  const test::ScratchDirectory root;
  const fs::path dir = root / "Logs";
  test::FakeClock clock;
  EventLog log{dir, clock};
};

TEST_F(Log, EntriesAreStampedMonthFirstAppendedAndNotRepeated) {
  EXPECT_FALSE(fs::exists(dir));  // made when the first entry needs it
  log.write_log_entry("A");
  std::ofstream(dir / "MAVPCI1.log") << "earlier run\n";
  log.write_log_entry("Lost contact");
  log.write_log_entry("Lost contact");
  log.write_log_entry("Contact");
  clock.set_local_time({2011, 12, 31, 23, 59, 58});
  log.write_log_entry("Lost contact");
  log.write_log_entry("Lost contactX");  // a longer text is another message
  EXPECT_EQ(text(), std::string("earlier run\n") + kStamp + "Lost contact\n" + kStamp +
                        "Contact\n12/31/2011  23:59:58  Lost contact\n" +
                        "12/31/2011  23:59:58  Lost contactX\n");
  EXPECT_EQ(log.recent_index(), 5);
}

// A bare name lives in the log directory; an absolute path is used as it is.
TEST_F(Log, FileNamesAndAnUnopenableFile) {
  const fs::path chosen = root / "chosen.log";
  for (const auto& [name, path] : {std::pair{std::string("Shift2.log"), dir / "Shift2.log"},
                                   std::pair{chosen.string(), chosen}}) {
    log.set_log_file_name(name);
    EXPECT_EQ(log.log_file_path(), path);
    log.write_log_entry("New log " + name);
    EXPECT_EQ(file_text(path), kStamp + ("New log " + name) + "\n");
  }
  log.set_log_file_name(std::string(300, 'n'));
  EXPECT_EQ(log.log_file_name(), std::string(259, 'n'));

  fs::create_directories(dir / "taken");  // a folder where the file should be
  log.set_log_file_name("taken");
  log.write_log_entry("lost entry");
  EXPECT_EQ(log.recent_index(), 2);
  log.set_log_file_name("MAVPCI1.log");
  log.write_log_entry("lost entry");  // still the last message written
  EXPECT_FALSE(fs::exists(dir / "MAVPCI1.log"));
}

TEST_F(Log, RingKeeps255CharactersOfThirtyEntriesAndTheReportListsThemNewestFirst) {
  const fs::path report = root / "Recent.txt";
  const std::string head = std::string("Most recent entries appear first\n\n") + kHeader;
  std::ofstream(report) << std::string(5000, 'x');  // replaced, not appended to
  ASSERT_TRUE(write_recent_report(log, report));
  EXPECT_EQ(file_text(report), head);

  const std::string line = kStamp + std::string(400, 'x') + "\n";
  log.write_log_entry(std::string(400, 'x'));
  EXPECT_EQ(text(), line);
  write(2, 30);
  EXPECT_EQ(log.recent_index(), 0);
  ASSERT_TRUE(write_recent_report(log, report));
  EXPECT_EQ(file_text(report), head + entries(30, 2) + line.substr(0, 255));
  write(31, 35);
  write_recent_report(log, report);
  EXPECT_EQ(file_text(report), head + entries(35, 6));
  EXPECT_EQ(log.recent_index(), 5);
  EXPECT_FALSE(write_recent_report(log, root / "no-such-folder" / "Recent.txt"));
}

TEST_F(Log, CopyIsByteForByteAndANewLogStartsWithTheHeader) {
  fs::create_directories(dir);
  std::string bytes("line\r\nnul\0byte\xff", 15);
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i * 7);  // more than one block
  std::ofstream(dir / "MAVPCI1.log", std::ios::binary) << bytes;
  write(1, 1);
  ASSERT_TRUE(copy_entire_log(log, dir / "MAVLog_tmp.txt"));
  EXPECT_EQ(file_text(dir / "MAVLog_tmp.txt"), bytes + entries(1, 1));

  const fs::path kept = root / "Kept.log";
  std::ofstream(kept) << "earlier\n";
  for (const fs::path& chosen : {root / "Shift2.log", kept}) {
    const std::string before = file_text(chosen);
    start_new_log(log, chosen.string());
    log.write_log_entry("after " + chosen.filename().string());
    EXPECT_EQ(file_text(chosen),
              before + kHeader + kStamp + "after " + chosen.filename().string() + "\n");
  }
  log.set_log_file_name("missing.log");
  EXPECT_FALSE(copy_entire_log(log, dir / "MAVLog_tmp.txt"));
}

}  // namespace
}  // namespace mav
