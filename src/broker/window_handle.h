#pragma once
// The executor interface names client windows; the portable core only passes them along.
#ifdef _WIN32
#include <windows.h>
using WindowHandle = HWND;
#else
using WindowHandle = void*;
#endif
