#include "collect/collector.h"

#include <optional>

#include "collect/page_address.h"
#include "collect/page_cutter.h"
#include "text/codepage.h"

void CollectTaskPages(const CollectorView& view, const PageFetcher& fetch,
                      const std::string& listingAddress, int pageCount) {
  view.ClearTaskList();
  // A wider counter: with a page count of INT_MAX an int would overflow after the last page.
  for (long long i = 1; i <= pageCount; ++i) {
    const std::optional<std::string> address =
        ListingPageAddress(listingAddress, static_cast<int>(i));
    if (!address) break;  // an address without a page pattern has one page only
    // Closing the window during a collection ends it: once the window is gone, nothing more
    // is fetched and nothing is written to its destroyed controls.
    if (!view.PumpEvents()) return;
    view.SetScratchText(std::string());
    view.SetProgressPosition(10);
    CutPageIntoRows(view, Utf8ToAnsi(BytesToText(fetch(*address))));
  }
  const int k = view.TaskRowCount();
  for (int r = 1; r <= k; ++r) view.SetTaskCell(r - 1, 0, IntToText(r));
}
