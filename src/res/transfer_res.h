// Resource identifiers of the item transfer, shared by the resource script
// and the code that loads them.
#pragma once

// The drag cursor, drag.cur: an arrow with a small document page.
#define IDC_DRAGCOPY 201
