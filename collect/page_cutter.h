// Cutting one listing page's text into task rows, through the window's scratch box.
#pragma once
#include <string>

#include "collect/collector.h"

// The task table of a page text: what lies between the table markers, empty when either is
// missing.
std::string CutTaskTable(const std::string& pageText);

// Splits a task table into blocks and appends one row (title, requirement, address) per
// block; what follows the last block separator is never a task.
void AppendTaskRows(const CollectorView& view, const std::string& tableText);

// Puts the page text (CP936) into the scratch box, cuts the task table out of it, leaves that
// table in the box, and appends one row (title, requirement, address) per task block. Moves
// the progress bar to 60 and, at the end, to 100 and hides it.
void CutPageIntoRows(const CollectorView& view, const std::string& pageText);
