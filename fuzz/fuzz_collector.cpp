// The collector on hostile pages: the page cutter on any page text, the whole collection of a
// few pages from any body (zero bytes and malformed UTF-8 included), and the addressing of page
// i of any listing address. Fields: options (2 bytes), page, listing address; for the whole
// collection the body is every byte after the options field, zero bytes included.
#include <optional>
#include <string>
#include <vector>

#include "collect/collector.h"
#include "collect/page_address.h"
#include "collect/page_cutter.h"
#include "fuzz/fuzz_input.h"
#include "tests/text/text_reference.h"
#include "text/codepage.h"
#include "text/text.h"

namespace {

struct Window {
  std::vector<std::vector<std::string>> rows;
  std::string scratch;
  int progress = 0;
  bool hidden = false;
  int pumps = 0;

  CollectorView View() {
    CollectorView v;
    v.ClearTaskList = [this] { rows.clear(); };
    v.AppendTaskRow = [this] {
      rows.emplace_back(4);
      return static_cast<int>(rows.size()) - 1;
    };
    v.SetTaskCell = [this](int row, int column, const std::string& text) {
      FUZZ_CHECK(row >= 0 && row < static_cast<int>(rows.size()) && column >= 0 && column < 4);
      rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
    };
    v.TaskRowCount = [this] { return static_cast<int>(rows.size()); };
    v.SetProgressPosition = [this](int value) { progress = value; };
    v.HideProgressBar = [this] { hidden = true; };
    v.SetScratchText = [this](const std::string& text) { scratch = text; };
    v.AppendScratchText = [this](const std::string& text) { scratch += text; };
    v.GetScratchText = [this] { return scratch; };
    v.PumpEvents = [this] {
      ++pumps;
      return true;
    };
    return v;
  }
};

const char kTableLeft[] = "<table class=\"list-task\">";
const char kTableRight[] = "诚信管理中心</a></dd>";

// The rows a page must give, from the markers and the plain split.
std::vector<std::vector<std::string>> ExpectedRows(const std::string& page) {
  const std::string table = TextBetween(page, kTableLeft, kTableRight);
  const TextArray blocks = reference::Split(table, ">参与</", std::nullopt);
  std::vector<std::vector<std::string>> rows;
  for (size_t j = 0; j + 1 < blocks.size(); ++j) {
    const std::string& b = blocks[j];
    rows.push_back({std::string(), TextBetween(b, "\"{obj:'main'}\">", "</a>"),
                    TextBetween(b, "<p class=\"list-task-ctn\">", "</p></td>"),
                    TextBetween(b, "\"list-task-title\" href=\"", "/\" target=\"_blank\"")});
  }
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzFields in(data, size);
  std::string options = in[0];
  options.resize(2, '\0');
  const int mode = static_cast<unsigned char>(options[0]) % 3;

  if (mode == 0) {
    // One page text, already in code page 936.
    const std::string& page = in[1];
    Window w;
    CutPageIntoRows(w.View(), page);
    FUZZ_CHECK(w.rows == ExpectedRows(page));
    FUZZ_CHECK(w.scratch == TextBetween(page, kTableLeft, kTableRight));
    FUZZ_CHECK(w.progress == 100 && w.hidden);
  } else if (mode == 1) {
    // A whole collection: every page's body is the raw bytes after the options.
    const size_t skip = in[0].size() + 1;
    const Bytes body = skip <= size ? Bytes(data + skip, data + size) : Bytes();
    const int pages = static_cast<signed char>(options[1]) % 4;
    std::vector<std::string> fetched;
    const PageFetcher fetch = [&](const std::string& url) {
      fetched.push_back(url);
      return body;
    };
    Window w;
    w.rows.resize(2, std::vector<std::string>(4, "old"));
    CollectTaskPages(w.View(), fetch, "http://127.0.0.1:8080/c-rjkf/t.html", pages);
    const size_t perPage = ExpectedRows(Utf8ToAnsi(BytesToText(body))).size();
    FUZZ_CHECK(fetched.size() == static_cast<size_t>(pages > 0 ? pages : 0));
    FUZZ_CHECK(w.rows.size() == perPage * fetched.size());
    for (size_t r = 0; r < w.rows.size(); ++r) FUZZ_CHECK(w.rows[r][0] == IntToText(static_cast<int>(r + 1)));
  } else {
    // Page i of any listing address.
    const std::string& address = in[2];
    const int page = FuzzInt(static_cast<unsigned char>(options[1]));
    const std::optional<std::string> at = ListingPageAddress(address, page);
    if (page < 1) FUZZ_CHECK(!at);
    if (page == 1) FUZZ_CHECK(at.has_value());
    if (at && page > 1) FUZZ_CHECK(at->find("p" + std::to_string(page) + ".html") != std::string::npos);
  }
  return 0;
}
