#include "service/AuditLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/FakeClock.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

TEST(AuditLog, AppendsOneLinePerRequestToAFileOnlyItsOwnerReads) {
  ScratchDirectory scratch;
  FakeClock clock;
  AuditLog log(scratch / "Logs", clock, false);
  ControlArguments connect;
  connect.port = 3, connect.other_port = 7;
  ASSERT_TRUE(log.record("dispatch-1", "unix", ControlOp::Connect, connect, "applied"));
  ASSERT_TRUE(log.record("ops", "tcp:127.0.0.1:5000", ControlOp::Resync, {}, "accepted"));
  EXPECT_EQ(
      file_text(scratch / "Logs/audit.jsonl"),
      R"({"time":"2004-03-05T07:04:09","actor":"dispatch-1","origin":"unix","op":"connect","arguments":{"port":3,"to":7},"result":"applied"})"
      "\n"
      R"({"time":"2004-03-05T07:04:09","actor":"ops","origin":"tcp:127.0.0.1:5000","op":"resync","arguments":{},"result":"accepted"})"
      "\n");
  struct stat info;
  ASSERT_EQ(::stat(log.path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace mav::test
