// The remembered services: the latest first, one line per address, private to the operator.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "console/ServicesFile.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

TEST(ServicesFile, KeepsTheLatestFirstOncePerAddressPrivately) {
  ScratchDirectory dir;
  const std::filesystem::path file = dir / kServicesFileName;
  EXPECT_TRUE(read_services_file(file).empty());
  ASSERT_TRUE(remember_service(file, {"desk-1", "/run/mav/control.sock", ""}));
  ASSERT_TRUE(remember_service(file, {"desk\t2", "10.0.0.5:7700", "s3cret\n"}));
  ASSERT_TRUE(remember_service(file, {"desk-1", "/run/mav/control.sock", "abc"}));
  EXPECT_EQ(file_text(file), "desk-1\t/run/mav/control.sock\tabc\ndesk2\t10.0.0.5:7700\ts3cret\n");
  const std::vector<ServiceEntry> read = read_services_file(file);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].name + read[1].address + read[1].token, "desk210.0.0.5:7700s3cret");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace mav::test
