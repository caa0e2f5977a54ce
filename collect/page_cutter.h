// Cutting one listing page's text into task rows, through the window's scratch box.
#pragma once
#include <string>

#include "collect/collector.h"

// Puts the page text (CP936) into the scratch box, cuts the task table out of it, leaves that
// table in the box, and appends one row (title, requirement, address) per task block. Moves
// the progress bar to 60 and, at the end, to 100 and hides it.
void CutPageIntoRows(const CollectorView& view, const std::string& pageText);
