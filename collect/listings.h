// The nine listing commands: each button's caption and the listing it collects.
#pragma once
#include <string>
#include <vector>

struct ListingCommand {
  const char* caption;  // CP936, the button's text
  const char* path;     // appended to the marketplace's base address
};

// Buttons 1 to 9, in button order.
const std::vector<ListingCommand>& ListingCommands();

// Scheme and host of the marketplace, fixed when the program is built (no trailing slash).
std::string MarketplaceBaseAddress();

// The address the command passes to the collector: base address + listing path.
std::string ListingAddress(const ListingCommand& command);
