#pragma once
// The executor interface names client windows; the portable core only passes them along. The
// type is the Win32 HWND (a pointer to the struct the Windows headers declare for it), named
// without including them.
struct HWND__;
using WindowHandle = HWND__*;
