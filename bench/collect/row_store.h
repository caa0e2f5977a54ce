// A window that only keeps what the collector puts into it: the collector's own work timed
// without any control's cost.
#pragma once
#include <string>
#include <vector>

#include "collect/collector.h"

struct RowStore {
  std::string scratch;
  std::vector<std::string> cells;
  int rows = 0;

  CollectorView View() {
    CollectorView v;
    v.ClearTaskList = [this] { rows = 0, cells.clear(); };
    v.AppendTaskRow = [this] { return rows++; };
    v.SetTaskCell = [this](int, int, const std::string& text) { cells.push_back(text); };
    v.TaskRowCount = [this] { return rows; };
    v.SetProgressPosition = [](int) {};
    v.HideProgressBar = [] {};
    v.SetScratchText = [this](const std::string& text) { scratch = text; };
    v.AppendScratchText = [this](const std::string& text) { scratch += text; };
    v.GetScratchText = [this] { return scratch; };
    v.PumpEvents = [] { return true; };
    return v;
  }
};
