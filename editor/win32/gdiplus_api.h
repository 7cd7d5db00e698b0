#pragma once

// The GDI+ declarations in the order their headers need them. Only the flat functions
// (Gdiplus::DllExports) and plain types are used.
#include <windows.h>
// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on
