#include "app/fault.h"

std::string FaultBoxText(const std::string& message) {
  std::string text = "运行时出错!\r\n\r\n";
  if (!message.empty()) text += "错误信息：" + message + "\r\n";
  return text;
}
