#include "collect/listings.h"

#ifndef TC_BASE_URL
#define TC_BASE_URL "http://task.qingshifang.com"
#endif

const std::vector<ListingCommand>& ListingCommands() {
  static const std::vector<ListingCommand> commands = {
      {"青石坊接单网", "/c-rjkf/t.html"},  // the whole software-development section
      {"桌面软件", "/c-rjkf/zmyy/t.html"},
      {"多媒体软件", "/c-rjkf/dmtrj/t.html"},
      {"办公自动化OA", "/c-rjkf/erp/t.html"},
      {"脚本制作", "/c-rjkf/jbkf/t.html"},
      {"插件制作", "/c-rjkf/chajiankf/t.html"},
      {"其他软件", "/c-rjkf/qtrjkf/t.html"},
      {"己托管", "/c-rjkf/th3.html"},
      {"客户关系管理", "/c-rjkf/crm/t.html"},
  };
  return commands;
}

std::string MarketplaceBaseAddress() {
  // A base address configured with a final slash would double the slash of every path.
  std::string base = TC_BASE_URL;
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base;
}

std::string ListingAddress(const ListingCommand& command) {
  return MarketplaceBaseAddress() + command.path;
}
