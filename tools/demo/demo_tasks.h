// The demo marketplace's listings and their tasks: deterministic, realistic Chinese task data
// that differs per listing and page. All texts are UTF-8, as the marketplace serves them.
#pragma once
#include <string>
#include <vector>

struct DemoListing {
  const char* path;  // as in the listing command table
  const char* name;  // UTF-8 heading of the listing
  int pageCount;     // pages beyond this one hold no tasks
};

// In the order of the listing commands (buttons 1 to 9).
const std::vector<DemoListing>& DemoListings();

struct DemoTask {
  long long id;             // the number in the task's address
  std::string title;        // exactly as the page holds it between the title markers
  std::string requirement;  // exactly as the page holds it between the requirement markers
  std::string detail;       // the longer description shown on the task page
  std::string category;     // UTF-8 name of the task's sub-category
  std::string tech;
  int budget;               // yuan
  int days;
  int bids;
  bool escrowed;            // the employer has paid the budget into escrow
  std::string employer;     // the employer's user name
  std::vector<std::string> employerHistory;  // titles of the employer's earlier tasks
};

// The tasks of page `page` (1-based) of listing `listing` (index into DemoListings()); none
// beyond the listing's last page or for page numbers below 1.
std::vector<DemoTask> DemoListingTasks(int listing, int page);

// The task with this number, if the number is one the listings give out.
bool DemoTaskById(long long id, DemoTask* task);
