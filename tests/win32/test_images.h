#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gdiplus_api.h"
#include "image_files.h"
#include "screen_format.h"

namespace tvk::test {

// How a test picture is stored.
struct ImageFormat {
    const wchar_t* mime_type;  // chooses GDI+'s encoder
    int pixel_format;          // GDI+ pixel format of the bitmap before encoding
};

inline constexpr ImageFormat kPng32{L"image/png", 0x26200A};  // PixelFormat32bppARGB
inline constexpr ImageFormat kPng24{L"image/png", 0x21808};   // PixelFormat24bppRGB
inline constexpr ImageFormat kBmp24{L"image/bmp", 0x21808};
// Palette pictures are written through their palette: at most 256 colours.
inline constexpr ImageFormat kGif8{L"image/gif", 0x30803};  // PixelFormat8bppIndexed

// GDI+'s image encoders in its own order.
struct Encoder {
    std::wstring mime_type;
    CLSID clsid;
};
std::vector<Encoder> image_encoders();
// The index of the first encoder of this MIME type, -1 when there is none.
int encoder_index(const wchar_t* mime_type);
CLSID encoder_for(const wchar_t* mime_type);

// Writes a picture of this size, pixel (x, y) taking argb(x, y), through GDI+ directly.
void write_image(const std::filesystem::path& file, const ImageFormat& format, int width,
                 int height, const std::function<std::uint32_t(int x, int y)>& argb);

// Decodes a file through GDI+'s locked pixel buffer, a road separate from the editor's.
Picture decode_image(const std::filesystem::path& file);

// Pixel (x, y) of a screen as an opaque ARGB value.
std::uint32_t argb_of(const PixelGrid& grid, int x, int y);
// A 120 x 112 picture as a screen; fails the test for any other size.
PixelGrid grid_of(const Picture& picture);

}  // namespace tvk::test
