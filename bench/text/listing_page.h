// A listing page shaped like the marketplace's, as CP936 text, for the text benchmarks.
#pragma once
#include <random>
#include <string>

namespace bench_text {

inline const char* const kSeparator = ">参与</";

// Chinese words as CP936 (the sources are compiled to code page 936).
inline const char* const kWords[] = {
    "开发", "一个", "网站", "软件", "需求", "系统", "管理", "手机", "客户端", "数据", "采集", "工具",
    "设计", "程序", "接口", "支付", "小程序", "后台", "功能", "要求", "完成", "预算", "联系", "微信"};

inline std::string Words(std::mt19937& rng, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += kWords[rng() % (sizeof kWords / sizeof *kWords)];
  return s;
}

// A listing page shaped like the marketplace's: a head, the task table with one block per task
// ending at the separator, and the footer marker that closes the table.
inline std::string ListingPage(size_t targetBytes) {
  std::mt19937 rng(7);
  std::string page =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>软件开发 任务大厅</title>"
      "<link rel=\"stylesheet\" href=\"/css/list.css\"></head><body><div class=\"nav\">";
  for (int i = 0; i < 40; ++i) page += "<a href=\"/c/" + std::to_string(i) + "/\">" + Words(rng, 2) + "</a>";
  page += "</div><table class=\"list-task\">";
  for (int id = 100000; page.size() < targetBytes; ++id) {
    page += "<tr><td class=\"left\"><a class=\"list-task-title\" href=\"http://task.qingshifang.com/task/" +
            std::to_string(id) + "/\" target=\"_blank\" data=\"{obj:'main'}\">" + Words(rng, 6) +
            "</a><p class=\"list-task-ctn\">" + Words(rng, 40) +
            "</p></td><td class=\"price\">￥" + std::to_string(rng() % 9000 + 100) +
            "</td><td class=\"state\"><a href=\"/task/" + std::to_string(id) + "/join\">参与</a></td></tr>";
  }
  page += "</table><dl><dd><a href=\"/credit/\">诚信管理中心</a></dd></dl></body></html>";
  return page;
}

}  // namespace bench_text
