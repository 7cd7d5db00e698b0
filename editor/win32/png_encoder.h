#pragma once

#include <windows.h>

namespace tvk {

// The index of GDI+'s first image encoder whose MIME type is exactly "image/png", after copying its
// class id into `clsid`; -1, leaving `clsid` untouched, when there is none.
int find_png_encoder(CLSID& clsid);

}  // namespace tvk
