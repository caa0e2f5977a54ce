// One small wrapper per control kind, so the SendMessage casts live in one place. Texts are
// CP936 on our side and UTF-16 on the control's.
#pragma once
#include <windows.h>

#include <string>

// Any control with a window text (edit boxes, labels, buttons).
std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);

// Puts `text` after the edit box's last character, as typed there but not undoable.
void EditAppendText(HWND edit, const std::string& text);
// Replaces the edit box's whole text, leaving the caret at its start, nothing to undo and the
// box unmodified, as WM_SETTEXT does.
void EditReplaceText(HWND edit, const std::string& text);

void ListAddColumn(HWND list, int column, const std::string& title, int width);
int ListRowCount(HWND list);
int ListAppendRow(HWND list);  // index of the new, empty row
void ListSetCell(HWND list, int row, int column, const std::string& text);
std::string ListCell(HWND list, int row, int column);
int ListSelectedRow(HWND list);  // -1 when no row is selected
void ListClear(HWND list);

// A list growing row by row redraws itself at every row; under Wine that costs about 17 ms a
// row, against 0.007 ms with redraw held. Holding it until the window may next paint shows
// nothing different: no paint is handled before that point anyway.
void ListHoldRedraw(HWND list);
void ListReleaseRedraw(HWND list);  // redraws the list when it was held

// Limited to 0..32767 first (the bar's message range), then to the bar's own range.
void ProgressSetPosition(HWND bar, int value);
