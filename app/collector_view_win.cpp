#include "app/collector_view_win.h"

#include "app/controls_win.h"
#include "app/main_window_win.h"
#include "app/message_loop_win.h"

CollectorView MainWindowView(HWND window) {
  MainWindow controls;
  if (const MainWindow* state = MainWindowOf(window)) controls = *state;
  const HWND list = controls.taskList, bar = controls.progress, box = controls.scratch;
  CollectorView view;
  view.ClearTaskList = [list] { ListClear(list); };
  // Rows are appended with the list's redraw held; the pump and the end of the command let it
  // paint (ReleaseViewRedraw).
  view.AppendTaskRow = [list] {
    ListHoldRedraw(list);
    return ListAppendRow(list);
  };
  view.SetTaskCell = [list](int row, int column, const std::string& text) {
    ListHoldRedraw(list);
    ListSetCell(list, row, column, text);
  };
  view.TaskRowCount = [list] { return ListRowCount(list); };
  view.SetProgressPosition = [bar](int value) { ProgressSetPosition(bar, value); };
  view.HideProgressBar = [bar] { ShowWindow(bar, SW_HIDE); };
  view.SetScratchText = [box](const std::string& text) { EditReplaceText(box, text); };
  view.AppendScratchText = [box](const std::string& text) { EditAppendText(box, text); };
  view.GetScratchText = [box] { return ControlText(box); };
  view.PumpEvents = [window, list] {
    ListReleaseRedraw(list);
    return PumpWaitingMessages(window);
  };
  return view;
}

void ReleaseViewRedraw(HWND window) {
  if (const MainWindow* state = MainWindowOf(window)) ListReleaseRedraw(state->taskList);
}
