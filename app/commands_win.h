// The ten commands behind the buttons and the double-click on the task list.
#pragma once
#include <windows.h>

#include <string>

// 按钮1 .. 按钮9: the listing of the command table's entry `button` (1-9).
void RunListingCommand(HWND window, int button);
// 按钮10: the address typed into 编辑框_地址, unchanged.
void RunAddressCommand(HWND window);
// Page count first (read and converted), then a collection of `listingAddress`.
void CollectListing(HWND window, const std::string& listingAddress);

// Double-click: the selected row's address, handed to the shell when it is a web address.
void OpenTaskAddress(HWND window);
// "http://" or "https://" at the start, letter case ignored.
bool IsWebAddress(const std::string& address);
