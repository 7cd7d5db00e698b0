#include "test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "gdiplus_api.h"
#include "gdiplus_session.h"
#include "screen_image.h"
#include "test_files.h"

namespace tvk::test {
namespace {

namespace gdip = Gdiplus::DllExports;

}  // namespace

std::vector<Encoder> image_encoders() {
    const GdiplusSession gdiplus;
    UINT count = 0;
    UINT size = 0;
    gdip::GdipGetImageEncodersSize(&count, &size);
    std::vector<std::uint8_t> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    EXPECT_EQ(gdip::GdipGetImageEncoders(count, size, encoders), Gdiplus::Ok);
    std::vector<Encoder> list;
    for (UINT i = 0; i < count; ++i) {
        list.push_back({encoders[i].MimeType, encoders[i].Clsid});
    }
    return list;
}

int encoder_index(const wchar_t* mime_type) {
    const std::vector<Encoder> encoders = image_encoders();
    for (std::size_t i = 0; i < encoders.size(); ++i) {
        if (encoders[i].mime_type == mime_type) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CLSID encoder_for(const wchar_t* mime_type) {
    const int index = encoder_index(mime_type);
    EXPECT_NE(index, -1) << "no GDI+ encoder for this type";
    return index == -1 ? CLSID{} : image_encoders()[static_cast<std::size_t>(index)].clsid;
}

namespace {

// Gives each distinct colour an index, stores the palette in the bitmap and the indices in its
// pixels: GDI+ sets no single pixel of a palette bitmap.
void set_palette_pixels(Gdiplus::GpBitmap* bitmap, int width, int height,
                        const std::function<std::uint32_t(int x, int y)>& argb) {
    std::vector<Gdiplus::ARGB> colours;
    std::vector<BYTE> indices;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = argb(x, y);
            const auto found = std::find(colours.begin(), colours.end(), colour);
            indices.push_back(static_cast<BYTE>(found - colours.begin()));
            if (found == colours.end()) {
                colours.push_back(colour);
            }
        }
    }
    ASSERT_LE(colours.size(), 256u);
    std::vector<std::uint8_t> palette_bytes(sizeof(Gdiplus::ColorPalette) +
                                            colours.size() * sizeof(Gdiplus::ARGB));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(palette_bytes.data());
    palette->Count = static_cast<UINT>(colours.size());
    std::copy(colours.begin(), colours.end(), palette->Entries);
    ASSERT_EQ(gdip::GdipSetImagePalette(bitmap, palette), Gdiplus::Ok);

    const Gdiplus::GpRect whole(0, 0, width, height);
    Gdiplus::BitmapData data{};
    ASSERT_EQ(gdip::GdipBitmapLockBits(bitmap, &whole, Gdiplus::ImageLockModeWrite,
                                       PixelFormat8bppIndexed, &data),
              Gdiplus::Ok);
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(data.Scan0) + y * data.Stride,
                    &indices[static_cast<std::size_t>(y * width)], static_cast<std::size_t>(width));
    }
    gdip::GdipBitmapUnlockBits(bitmap, &data);
}

}  // namespace

void write_image(const std::filesystem::path& file, const ImageFormat& format, int width,
                 int height, const std::function<std::uint32_t(int x, int y)>& argb) {
    const GdiplusSession gdiplus;
    Gdiplus::GpBitmap* bitmap = nullptr;
    ASSERT_EQ(
        gdip::GdipCreateBitmapFromScan0(width, height, 0, format.pixel_format, nullptr, &bitmap),
        Gdiplus::Ok);
    if (format.pixel_format == PixelFormat8bppIndexed) {
        set_palette_pixels(bitmap, width, height, argb);
    } else {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                gdip::GdipBitmapSetPixel(bitmap, x, y, argb(x, y));
            }
        }
    }
    const CLSID encoder = encoder_for(format.mime_type);
    EXPECT_EQ(gdip::GdipSaveImageToFile(bitmap, file.c_str(), &encoder, nullptr), Gdiplus::Ok);
    gdip::GdipDisposeImage(bitmap);
}

Picture decode_image(const std::filesystem::path& file) {
    const GdiplusSession gdiplus;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromFile(file.c_str(), &bitmap) != Gdiplus::Ok) {
        return {};
    }
    Picture picture;
    UINT width = 0;
    UINT height = 0;
    gdip::GdipGetImageWidth(bitmap, &width);
    gdip::GdipGetImageHeight(bitmap, &height);
    const Gdiplus::GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (gdip::GdipBitmapLockBits(bitmap, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                 &data) == Gdiplus::Ok) {
        picture.width = static_cast<int>(width);
        picture.height = static_cast<int>(height);
        picture.argb.resize(static_cast<std::size_t>(width) * height);
        for (UINT y = 0; y < height; ++y) {
            std::memcpy(&picture.argb[y * width],
                        static_cast<const std::uint8_t*>(data.Scan0) + y * data.Stride,
                        width * sizeof(std::uint32_t));
        }
        gdip::GdipBitmapUnlockBits(bitmap, &data);
    }
    gdip::GdipDisposeImage(bitmap);
    return picture;
}

std::uint32_t argb_of(const PixelGrid& grid, int x, int y) {
    return argb_from_colour(
        grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))]);
}

PixelGrid grid_of(const Picture& picture) {
    EXPECT_EQ(picture.width, kScreenWidth);
    EXPECT_EQ(picture.height, kScreenHeight);
    if (picture.width != kScreenWidth || picture.height != kScreenHeight) {
        return {};
    }
    return make_grid([&picture](int x, int y) { return colour_from_argb(picture.pixel(x, y)); });
}

}  // namespace tvk::test
