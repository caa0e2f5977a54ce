// Native builds have no message box: the fault text goes to stderr, the exit code is the same.
#include <cstdio>
#include <cstdlib>

#include "app/fault.h"

void RaiseFault(const std::string& message) {
  const std::string text = FaultBoxText(message);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  std::_Exit(-1);
}
