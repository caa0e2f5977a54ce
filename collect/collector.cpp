#include "collect/collector.h"

#include <optional>

#include "collect/page_address.h"
#include "text/codepage.h"

namespace {

// The markers that cut a listing page; Chinese literals are compiled to CP936, as the page
// text is after conversion.
const char kTableLeft[] = "<table class=\"list-task\">";
const char kTableRight[] = "诚信管理中心</a></dd>";
const char kBlockSeparator[] = ">参与</";
const char kTitleLeft[] = "\"{obj:'main'}\">";
const char kTitleRight[] = "</a>";
const char kAddressLeft[] = "\"list-task-title\" href=\"";
const char kAddressRight[] = "/\" target=\"_blank\"";
const char kRequirementLeft[] = "<p class=\"list-task-ctn\">";
const char kRequirementRight[] = "</p></td>";

// One page: fetched, passed through the scratch box, cut into rows appended to the list.
void CollectPage(const CollectorView& view, const PageFetcher& fetch, const std::string& address) {
  view.SetScratchText(std::string());
  view.SetProgressPosition(10);
  view.AppendScratchText(Utf8ToAnsi(BytesToText(fetch(address))));
  view.SetProgressPosition(60);
  view.SetScratchText(TextBetween(view.GetScratchText(), kTableLeft, kTableRight));

  const TextArray blocks = TextSplit(view.GetScratchText(), kBlockSeparator);
  // What follows the last separator is never a task.
  const int n = Count(blocks) - 1;
  for (int j = 1; j <= n; ++j) {
    const std::string& block = Element(blocks, j);
    const std::string title = TextBetween(block, kTitleLeft, kTitleRight);
    const std::string taskAddress = TextBetween(block, kAddressLeft, kAddressRight);
    const std::string requirement = TextBetween(block, kRequirementLeft, kRequirementRight);
    const int row = view.AppendTaskRow();
    view.SetTaskCell(row, 1, title);
    view.SetTaskCell(row, 2, requirement);
    view.SetTaskCell(row, 3, taskAddress);
  }
  view.SetProgressPosition(100);
  view.HideProgressBar();
}

}  // namespace

void CollectTaskPages(const CollectorView& view, const PageFetcher& fetch,
                      const std::string& listingAddress, int pageCount) {
  view.ClearTaskList();
  for (int i = 1; i <= pageCount; ++i) {
    const std::optional<std::string> address = ListingPageAddress(listingAddress, i);
    if (!address) break;  // an address without a page pattern has one page only
    // Closing the window during a collection ends it: once the window is gone, nothing more
    // is fetched and nothing is written to its destroyed controls.
    if (!view.PumpEvents()) return;
    CollectPage(view, fetch, *address);
  }
  const int k = view.TaskRowCount();
  for (int r = 1; r <= k; ++r) view.SetTaskCell(r - 1, 0, IntToText(r));
}
