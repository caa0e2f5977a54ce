#include "tests/collect/fake_view.h"

#include <stdexcept>

Bytes Body(const std::string& text) { return Bytes(text.begin(), text.end()); }

CollectorView FakeWindow::View() {
  CollectorView v;
  v.ClearTaskList = [this] {
    log.push_back("Clear");
    rows.clear();
  };
  v.AppendTaskRow = [this] {
    rows.emplace_back();
    log.push_back("Append " + std::to_string(rows.size() - 1));
    return static_cast<int>(rows.size() - 1);
  };
  v.SetTaskCell = [this](int row, int column, const std::string& text) {
    log.push_back("Cell " + std::to_string(row) + "," + std::to_string(column) + "=" + text);
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 || column > 3)
      throw std::out_of_range("cell outside the list");
    rows[row][column] = text;
  };
  v.TaskRowCount = [this] {
    log.push_back("Count");
    return static_cast<int>(rows.size());
  };
  v.SetProgressPosition = [this](int value) {
    log.push_back("Progress " + std::to_string(value));
    progress = value;
  };
  v.HideProgressBar = [this] {
    log.push_back("Hide");
    barHidden = true;
  };
  v.SetScratchText = [this](const std::string& text) {
    log.push_back("Scratch=" + text);
    scratch = text;
  };
  v.AppendScratchText = [this](const std::string& text) {
    log.push_back("ScratchAppend=" + text);
    scratch += text;
  };
  v.GetScratchText = [this] {
    log.push_back("GetScratch");
    return scratch;
  };
  v.PumpEvents = [this] {
    log.push_back("Pump");
    ++pumps;
    return onPump ? onPump(pumps) : true;
  };
  return v;
}

PageFetcher FakeWindow::Fetcher() {
  return [this](const std::string& url) {
    log.push_back("Fetch " + url);
    fetched.push_back(url);
    const auto page = pages.find(url);
    return page == pages.end() ? Bytes() : page->second;
  };
}
