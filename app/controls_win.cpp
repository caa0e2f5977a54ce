#include "app/controls_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/wide_text_win.h"

std::string ControlText(HWND control) {
  const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::string();
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(control, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  return Cp936FromWide(wide.data(), static_cast<size_t>(std::max<LRESULT>(copied, 0)));
}

void SetControlText(HWND control, const std::string& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFromCp936(text).c_str()));
}

void EditAppendText(HWND edit, const std::string& text) {
  const LRESULT end = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(edit, EM_SETSEL, end, end);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WideFromCp936(text).c_str()));
}

namespace {
std::wstring EditTextW(HWND edit) {
  const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const LRESULT copied = SendMessageW(edit, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return wide;
}

void EditCut(HWND edit, size_t from, size_t to) {
  if (from == to) return;
  SendMessageW(edit, EM_SETSEL, from, to);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
}
}  // namespace

void EditReplaceText(HWND edit, const std::string& text) {
  const std::wstring wide = WideFromCp936(text);
  // A multi-line box lays out every line it is given, and under Wine that costs ~20 ms per KB
  // of a wrapped page. The collector replaces a page by its own task table: when the new text
  // is part of the old, cutting away what surrounds it keeps the lines already laid out.
  const std::wstring old = wide.empty() ? std::wstring() : EditTextW(edit);
  const size_t at = wide.empty() ? std::wstring::npos : old.find(wide);
  if (at == std::wstring::npos) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return;
  }
  EditCut(edit, at + wide.size(), old.size());
  EditCut(edit, 0, at);
  // Where WM_SETTEXT would leave the box.
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
}

void ListAddColumn(HWND list, int column, const std::string& title, int width) {
  std::wstring wide = WideFromCp936(title);
  LVCOLUMNW c = {};
  c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  c.fmt = LVCFMT_LEFT;
  c.cx = width;
  c.pszText = wide.data();
  c.iSubItem = column;
  SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
}

int ListRowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int ListAppendRow(HWND list) {
  wchar_t empty[1] = {L'\0'};
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = ListRowCount(list);
  item.pszText = empty;
  return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListSetCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = WideFromCp936(text);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::string ListCell(HWND list, int row, int column) {
  if (row < 0) return std::string();
  // The list does not say how long a cell is: grow the buffer until the text fits.
  for (size_t size = 256;; size *= 4) {
    std::wstring wide(size, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = wide.data();
    item.cchTextMax = static_cast<int>(size);
    const LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) + 1 < size || size >= (1u << 24))
      return Cp936FromWide(wide.data(), static_cast<size_t>(n));
  }
}

int ListSelectedRow(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

namespace {
const wchar_t kRedrawHeld[] = L"TaskCollector.RedrawHeld";
}

void ListHoldRedraw(HWND list) {
  if (GetPropW(list, kRedrawHeld) || !IsWindow(list)) return;
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SetPropW(list, kRedrawHeld, reinterpret_cast<HANDLE>(1));
}

void ListReleaseRedraw(HWND list) {
  if (!GetPropW(list, kRedrawHeld)) return;
  RemovePropW(list, kRedrawHeld);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void ListClear(HWND list) { SendMessageW(list, LVM_DELETEALLITEMS, 0, 0); }

void ProgressSetPosition(HWND bar, int value) {
  value = std::clamp(value, 0, 32767);
  const int low = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
  const int high = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
  SendMessageW(bar, PBM_SETPOS, std::clamp(value, low, std::max(low, high)), 0);
}
