// The string grid as screen readers see it: an IAccessible of role table
// whose simple children are the cells (ids from ui/grid_access.h), named by
// their texts and described by the tooltip hint while it is shown for them.
// oleacc's standard object of the window serves the rest.
//
// The object reads the grid through its messages and keeps only the window
// handle, which the grid clears as it is destroyed; from then on every call
// fails with E_FAIL and remote clients are disconnected. oleacc, ole32 and
// oleaut32 are loaded with the first request, not with the program.
#pragma once

#include <windows.h>

#include "ui/grid_geometry.h"

namespace tabcard {

class GridAccessible;

// The answer to WM_GETOBJECT: the grid's object for OBJID_CLIENT (created at
// the first request and kept in `held`), 0 for any other object id.
LRESULT AnswerGridObject(HWND grid, GridAccessible*& held, WPARAM wp, LPARAM lp);
// At WM_NCDESTROY: cuts the object off its window and drops the grid's hold.
void ReleaseGridAccessible(GridAccessible*& held);

// A WinEvent about a cell (EVENT_OBJECT_FOCUS, _SELECTION, _NAMECHANGE,
// _DESCRIPTIONCHANGE), or about the grid itself for kNoCell.
void NotifyCellEvent(HWND grid, DWORD event, GridCell cell, int cols, int rows);

}  // namespace tabcard
