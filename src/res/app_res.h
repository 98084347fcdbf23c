// Resource identifiers of the program itself, shared by the resource script
// and the code that loads them.
#pragma once

// tabcard.ico. The lowest icon id, so Explorer shows it for the executable.
#define IDI_TABCARD 100
