#include "collect/page_cutter.h"

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

}  // namespace

std::string CutTaskTable(const std::string& pageText) {
  return TextBetween(pageText, kTableLeft, kTableRight);
}

void AppendTaskRows(const CollectorView& view, const std::string& tableText) {
  const TextArray blocks = TextSplit(tableText, kBlockSeparator);
  const int n = Count(blocks) - 1;
  for (int j = 1; j <= n; ++j) {
    const std::string& block = Element(blocks, j);
    const std::string title = TextBetween(block, kTitleLeft, kTitleRight);
    const std::string address = TextBetween(block, kAddressLeft, kAddressRight);
    const std::string requirement = TextBetween(block, kRequirementLeft, kRequirementRight);
    const int row = view.AppendTaskRow();
    view.SetTaskCell(row, 1, title);
    view.SetTaskCell(row, 2, requirement);
    view.SetTaskCell(row, 3, address);
  }
}

void CutPageIntoRows(const CollectorView& view, const std::string& pageText) {
  view.AppendScratchText(pageText);
  view.SetProgressPosition(60);
  // The text goes through the box and is read back from it at each step, as the window keeps
  // it: what the rows come from is what the box holds.
  view.SetScratchText(CutTaskTable(view.GetScratchText()));
  AppendTaskRows(view, view.GetScratchText());
  view.SetProgressPosition(100);
  view.HideProgressBar();
}
