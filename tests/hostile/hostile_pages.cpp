#include "tests/hostile/hostile_pages.h"

// The pages are UTF-8: every Chinese literal is u8, as the project compiles ordinary literals
// to code page 936.

namespace {

const char kHead[] =
    u8"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>任务大厅</title></head><body>\n";
const char kTableStart[] = u8"<table class=\"list-task\">\n";
const char kTableEnd[] = u8"</table>\n<dl><dd><a href=\"/credit/\">诚信管理中心</a></dd></dl>\n</body></html>\n";

// The markers in the order a block carries them, each a piece of the block's markup.
const char kTitleLinkStart[] = u8"<tr><td><a class=\"list-task-title\" href=\"";
const char kLinkEnd[] = u8"\" target=\"_blank\" data-sc=\"{obj:'main'}\">";
const char kTitleEnd[] = u8"</a>\n<p class=\"list-task-ctn\">";
const char kRequirementEnd[] = u8"</p></td><td><a href=\"#join\">参与</a></td></tr>\n";

}  // namespace

std::string HostileBlock(const HostileTask& task) {
  return kTitleLinkStart + task.link + kLinkEnd + task.title + kTitleEnd + task.requirement + kRequirementEnd;
}

std::string HostilePage(const std::vector<std::string>& blocks, const std::string& before) {
  std::string page = kHead + before + kTableStart;
  for (const std::string& b : blocks) page += b;
  return page + kTableEnd;
}

std::vector<HostileTask> NumberedTasks(int count, const std::string& site) {
  std::vector<HostileTask> tasks;
  for (int i = 1; i <= count; ++i)
    tasks.push_back({u8"任务" + std::to_string(i), u8"要求" + std::to_string(i) + u8"：预算￥" + std::to_string(100 + i),
                     site + "/task/" + std::to_string(i) + "/"});
  return tasks;
}

std::vector<std::string> Blocks(const std::vector<HostileTask>& tasks) {
  std::vector<std::string> blocks;
  for (const HostileTask& t : tasks) blocks.push_back(HostileBlock(t));
  return blocks;
}

std::string CommentFiller(size_t bytes) {
  static const std::string line = "<!-- filler filler filler filler filler filler filler -->\r\n";
  std::string filler;
  filler.reserve(bytes + line.size());
  while (filler.size() < bytes) filler += line;
  return filler;
}

std::string PageWithMarkersAcrossReads(const std::vector<HostileTask>& tasks, size_t read) {
  std::string page = kHead;
  // Pads with spaces so that the next piece starts 3 bytes before a multiple of `read`.
  auto across = [&](const std::string& piece) {
    const size_t at = page.size() % read;
    const size_t target = read - 3;
    page.append(at <= target ? target - at : read - at + target, ' ');
    page += piece;
  };
  across(kTableStart);
  for (const HostileTask& t : tasks) {
    across(kTitleLinkStart);
    page += t.link;
    across(kLinkEnd);
    page += t.title;
    across(kTitleEnd);
    page += t.requirement;
    // The separator ">参与</" sits inside the block's end: cut it where it begins.
    const std::string end = kRequirementEnd;
    const size_t separator = end.find(u8">参与</");
    page += end.substr(0, separator);
    across(end.substr(separator));
  }
  const std::string tail = kTableEnd;
  const size_t marker = tail.find(u8"诚信管理中心");
  page += tail.substr(0, marker);
  across(tail.substr(marker));
  return page;
}
