// A CollectorView over plain memory that records every operation in order, and a fetcher
// that serves pages from a table and records every address asked for.
#pragma once
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "collect/collector.h"

struct FakeWindow {
  std::vector<std::string> log;  // "Clear", "Pump", "Scratch=...", "Cell 0,1=...", "Fetch ..."
  std::vector<std::array<std::string, 4>> rows;
  std::string scratch = "earlier text";
  int progress = 0;
  bool barHidden = false;
  int pumps = 0;
  // Runs inside PumpEvents with the pump's 1-based number; its result is PumpEvents' result.
  std::function<bool(int pump)> onPump;
  std::map<std::string, Bytes> pages;  // by address; any other address gives the empty body
  std::vector<std::string> fetched;

  CollectorView View();
  PageFetcher Fetcher();
};

Bytes Body(const std::string& text);
