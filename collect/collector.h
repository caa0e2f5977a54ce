// Collecting listing pages into the task list.
#pragma once
#include <functional>
#include <string>

#include "text/text.h"

// The window operations the collector uses; the main window binds them to its controls and
// tests bind them to a recording fake.
struct CollectorView {
  std::function<void()> ClearTaskList;
  std::function<int()> AppendTaskRow;  // index of the new row (the row count before)
  std::function<void(int row, int column, const std::string& text)> SetTaskCell;
  std::function<int()> TaskRowCount;
  std::function<void(int value)> SetProgressPosition;
  std::function<void()> HideProgressBar;
  std::function<void(const std::string& text)> SetScratchText;
  std::function<void(const std::string& text)> AppendScratchText;
  std::function<std::string()> GetScratchText;
  // Dispatches the waiting messages; false once the window is gone (the quit message waits).
  std::function<bool()> PumpEvents;
};

// Fetches one page: the response body, empty on failure.
using PageFetcher = std::function<Bytes(const std::string& url)>;

// Empties the task list, fetches pages 1 to `pageCount` of the listing (page addresses:
// page_address.h), appends one row per task and numbers every row of the list. Stops at once,
// without touching the view again, when PumpEvents finds the window gone.
void CollectTaskPages(const CollectorView& view, const PageFetcher& fetch,
                      const std::string& listingAddress, int pageCount);
