// The one way the program stops on a fault: a modal box ("错误", error icon, OK) with
// "运行时出错!\r\n\r\n错误信息：<message>\r\n", then every library of the external-function
// table released and the process ended with exit code -1. Messages are CP936 texts.
#pragma once
#include <string>

[[noreturn]] void RaiseFault(const std::string& message);

// The text the fault box shows for a message: exposed so tests can compare it exactly.
std::string FaultBoxText(const std::string& message);
