#include "app/commands_win.h"

#include <shellapi.h>

#include "app/collector_view_win.h"
#include "app/controls_win.h"
#include "app/main_window_win.h"
#include "collect/collector.h"
#include "collect/listings.h"
#include "text/text.h"
#include "web/web_request.h"

namespace {

constexpr int kAddressColumn = 3;

int ReadPageCount(HWND window) {
  const MainWindow* state = MainWindowOf(window);
  return state ? TextToInt(ControlText(state->pageCount)) : 0;
}

void Collect(HWND window, const std::string& listingAddress, int pageCount) {
  CollectTaskPages(MainWindowView(window), [](const std::string& url) { return WebRequest(url); },
                   listingAddress, pageCount);
  ReleaseViewRedraw(window);
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  for (size_t i = 0; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    const char c = text[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != prefix[i]) return false;
  }
  return true;
}

}  // namespace

void RunListingCommand(HWND window, int button) {
  const int pageCount = ReadPageCount(window);
  Collect(window, ListingAddress(ListingCommands()[static_cast<size_t>(button - 1)]), pageCount);
}

void RunAddressCommand(HWND window) {
  const int pageCount = ReadPageCount(window);
  const MainWindow* state = MainWindowOf(window);
  Collect(window, state ? ControlText(state->address) : std::string(), pageCount);
}

void CollectListing(HWND window, const std::string& listingAddress) {
  Collect(window, listingAddress, ReadPageCount(window));
}

bool IsWebAddress(const std::string& address) {
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

void OpenTaskAddress(HWND window) {
  const MainWindow* state = MainWindowOf(window);
  if (!state) return;
  const std::string address = ListCell(state->taskList, ListSelectedRow(state->taskList), kAddressColumn);
  // The address comes from a web page: "open" would run a program, a share or a script just
  // as readily as it shows a page, so only web addresses go to the shell.
  if (!IsWebAddress(address)) return;
  ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
