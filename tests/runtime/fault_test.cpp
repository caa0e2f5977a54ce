// The fault box text, byte for byte in code page 936, and the exit code of a fault.
#include <gtest/gtest.h>

#include <string>

#include "app/fault.h"

namespace {

// Spelled out in bytes so the test does not depend on how the compiler encodes literals.
const std::string kHead = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
const std::string kLabel = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";           // 错误信息：

TEST(FaultBoxText, Table) {
  struct Row {
    std::string message, expected;
  } rows[] = {
      {"", kHead},  // a fault without a message has no message line at all
      {"x", kHead + kLabel + "x\r\n"},
      {"\xD4\xD8\xC8\xEB", kHead + kLabel + "\xD4\xD8\xC8\xEB\r\n"},  // 载入: two-byte characters
      {"a\r\nb", kHead + kLabel + "a\r\nb\r\n"},  // kept as given, line breaks included
      {" ", kHead + kLabel + " \r\n"},            // a space is a message
  };
  for (const Row& r : rows) EXPECT_EQ(FaultBoxText(r.message), r.expected) << r.message;
}

TEST(FaultBoxText, LiteralsAreCp936) {
  EXPECT_EQ(FaultBoxText("无法"), kHead + kLabel + "\xCE\xDE\xB7\xA8\r\n");
}

#ifndef _WIN32
// Windows shows a real box; its test starts a child process and presses OK (fault_box_test_win).
TEST(RaiseFaultDeathTest, EndsWithMinusOneAndTheBoxText) {
  EXPECT_EXIT(RaiseFault("no such export"), testing::ExitedWithCode(255),
              "no such export\r\n$");
}

TEST(RaiseFaultDeathTest, EndsWithMinusOneWithoutMessage) {
  EXPECT_EXIT(RaiseFault(""), testing::ExitedWithCode(255), "!\r\n\r\n$");
}
#endif

}  // namespace
