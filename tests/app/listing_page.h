// A listing page as the marketplace serves it (UTF-8), with the markers the collector cuts by.
#pragma once
#include <string>

struct ListingTask {
  const char* title;        // UTF-8
  const char* requirement;  // UTF-8
  std::string address;      // written into the link with a final slash, as the site does
};

inline std::string ListingPageHtml(const ListingTask* tasks, int count) {
  std::string page = u8"<html><head><meta charset=\"utf-8\"><title>任务大厅</title></head><body>\r\n"
                     u8"<table class=\"list-task\">\r\n";
  for (int i = 0; i < count; ++i) {
    page += u8"<tr><td><a class=\"list-task-title\" href=\"" + tasks[i].address +
            u8"/\" target=\"_blank\" data-track=\"{obj:'main'}\">" + tasks[i].title +
            u8"</a><p class=\"list-task-ctn\">" + tasks[i].requirement +
            u8"</p></td><td><a href=\"#\">参与</a></td></tr>\r\n";
  }
  page += u8"</table><dl><dd><a href=\"/help\">诚信管理中心</a></dd></dl></body></html>\r\n";
  return page;
}
