// Which address serves page i of a listing.
//
// A listing address whose path ends in ".html" has a page pattern: page i inserts "p" and the
// decimal page number before ".html", after removing a "p<digits>" that already ends the name,
// so a pasted page address works too:
//   .../c-rjkf/t.html   -> .../c-rjkf/tp1.html, .../c-rjkf/tp2.html, ...
//   .../c-rjkf/th3.html -> .../c-rjkf/th3p2.html
//   .../c-rjkf/tp7.html -> .../c-rjkf/tp2.html
// Page 1 follows the pattern too ("tp1.html"), so every page of a listing has one form.
// A query or fragment after the path is kept. Any other address has only one page, itself.
#pragma once
#include <optional>
#include <string>

// The address of page `page` (1-based) of a listing; none when the listing has no such page
// (page below 1, or above 1 for an address without a page pattern).
std::optional<std::string> ListingPageAddress(const std::string& listingAddress, int page);

// Page `page` of the whole software-development section: base address + "/c-rjkf/tp<page>.html".
std::string TaskPagePath(int page);
