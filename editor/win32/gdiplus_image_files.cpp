#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "announced_size.h"
#include "gdiplus_api.h"
#include "gdiplus_session.h"
#include "platform_image_files.h"
#include "png_encoder.h"

namespace tvk {
namespace {

namespace gdip = Gdiplus::DllExports;

// The alpha bits of an opaque pixel.
constexpr Gdiplus::ARGB kOpaqueBlack = 0xFF000000u;
// Larger pictures (128 MiB of pixels) count as undecodable: a small file may announce a huge
// picture, and copying it would exhaust memory for a size that is refused anyway.
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{32} << 20;

struct ImageDisposer {
    void operator()(Gdiplus::GpBitmap* image) const { gdip::GdipDisposeImage(image); }
};
// Owns a GDI+ bitmap and disposes it on every way out; a failed load leaves it empty.
using ScopedBitmap = std::unique_ptr<Gdiplus::GpBitmap, ImageDisposer>;

// Copies every pixel of the bitmap into the picture, which has its size, as 0xAARRGGBB words
// with the colours the file stores; false when the library cannot give them.
bool copy_pixels(Gdiplus::GpBitmap* bitmap, Picture& picture) {
    const Gdiplus::GpRect all{0, 0, picture.width, picture.height};
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(picture.width);
    data.Height = static_cast<UINT>(picture.height);
    data.Stride = picture.width * 4;
    data.Scan0 = picture.argb.data();
    // The picture's own memory receives the pixels, converted to 32-bit ARGB.
    return gdip::GdipBitmapLockBits(bitmap, &all,
                                    Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                    PixelFormat32bppARGB, &data) == Gdiplus::Ok &&
           gdip::GdipBitmapUnlockBits(bitmap, &data) == Gdiplus::Ok;
}

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};

// The bytes of a stream from its start to its end.
std::optional<std::string> stream_contents(IStream& stream) {
    STATSTG status{};
    if (stream.Stat(&status, STATFLAG_NONAME) != S_OK) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(status.cbSize.QuadPart), '\0');
    const LARGE_INTEGER start{};
    ULONG read = 0;
    if (stream.Seek(start, STREAM_SEEK_SET, nullptr) != S_OK ||
        stream.Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read) != S_OK ||
        read != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

// The bytes of `bitmap` saved as a PNG file.
std::optional<std::string> png_bytes(Gdiplus::GpBitmap* bitmap) {
    CLSID png{};
    if (find_png_encoder(png) == -1) {
        return std::nullopt;
    }
    IStream* opened = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &opened) != S_OK) {
        return std::nullopt;
    }
    const std::unique_ptr<IStream, ComReleaser> stream(opened);
    if (gdip::GdipSaveImageToStream(bitmap, stream.get(), &png, nullptr) != Gdiplus::Ok) {
        return std::nullopt;
    }
    return stream_contents(*stream);
}

// Rows of `width` pixels of `bytes_per_pixel` each, padded to 4 bytes as GDI+ wants them.
int row_stride(int width, int bytes_per_pixel) {
    return (width * bytes_per_pixel + 3) / 4 * 4;
}

class GdiplusImageFiles final : public ImageFiles {
  public:
    PictureFile read_picture(const std::filesystem::path& file,
                             std::optional<PictureSize> only_size) override {
        if (std::string reason = unreadable_file_reason(file); !reason.empty()) {
            return {{}, std::move(reason)};
        }
        // The header alone refuses a picture of another size, before GDI+ decodes it whole.
        if (only_size) {
            const std::optional<PictureSize> announced = announced_size(file);
            if (announced &&
                (announced->width != only_size->width || announced->height != only_size->height)) {
                return {{announced->width, announced->height, {}}, {}};
            }
        }
        Gdiplus::GpBitmap* loaded = nullptr;
        gdip::GdipCreateBitmapFromFile(file.c_str(), &loaded);
        const ScopedBitmap bitmap(loaded);
        // Each size stays 0 when it cannot be read, as for a file that did not load.
        UINT width = 0;
        UINT height = 0;
        if (bitmap) {
            gdip::GdipGetImageWidth(bitmap.get(), &width);
            gdip::GdipGetImageHeight(bitmap.get(), &height);
        }
        if (width == 0 || height == 0 || std::uint64_t{width} * height > kMaxPicturePixels) {
            if (only_size && width != 0 && height != 0) {
                return {{static_cast<int>(width), static_cast<int>(height), {}}, {}};
            }
            return {{}, std::string(kNotAPicture)};
        }
        Picture picture{static_cast<int>(width), static_cast<int>(height), {}};
        // The size alone refuses a picture of another size: its pixels are never decoded.
        if (only_size &&
            (picture.width != only_size->width || picture.height != only_size->height)) {
            return {std::move(picture), {}};
        }
        picture.argb.resize(static_cast<std::size_t>(width) * height);
        if (!copy_pixels(bitmap.get(), picture)) {
            return {{}, std::string(kNotAPicture)};
        }
        Gdiplus::PixelFormat format = 0;
        gdip::GdipGetImagePixelFormat(bitmap.get(), &format);
        const bool premultiplied = (format & PixelFormatPAlpha) != 0;
        if (premultiplied &&
            std::any_of(picture.argb.begin(), picture.argb.end(),
                        [](std::uint32_t argb) { return (argb & kOpaqueBlack) != kOpaqueBlack; })) {
            return {{}, std::string(kInexactColours)};
        }
        return {std::move(picture), {}};
    }

    std::optional<std::string> encode_png(const Picture& picture) override {
        const int stride = row_stride(picture.width, 3);
        std::vector<BYTE> pixels(static_cast<std::size_t>(stride) *
                                 static_cast<std::size_t>(picture.height));
        for (int y = 0; y < picture.height; ++y) {
            BYTE* row =
                pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
            for (int x = 0; x < picture.width; ++x) {
                const std::uint32_t argb = picture.pixel(x, y);
                row[3 * x] = static_cast<BYTE>(argb);  // blue, green, red
                row[3 * x + 1] = static_cast<BYTE>(argb >> 8);
                row[3 * x + 2] = static_cast<BYTE>(argb >> 16);
            }
        }
        Gdiplus::GpBitmap* created = nullptr;
        gdip::GdipCreateBitmapFromScan0(picture.width, picture.height, stride, PixelFormat24bppRGB,
                                        pixels.data(), &created);
        const ScopedBitmap bitmap(created);
        if (!bitmap) {
            return std::nullopt;
        }
        return png_bytes(bitmap.get());
    }

    std::optional<std::string> encode_palette_png(const PalettePicture& picture) override {
        const int stride = row_stride(picture.width, 1);
        std::vector<BYTE> pixels(static_cast<std::size_t>(stride) *
                                 static_cast<std::size_t>(picture.height));
        const auto width = static_cast<std::size_t>(picture.width);
        for (int y = 0; y < picture.height; ++y) {
            std::copy_n(picture.indexes.begin() + static_cast<std::ptrdiff_t>(y * width), width,
                        pixels.begin() + static_cast<std::ptrdiff_t>(y) * stride);
        }
        Gdiplus::GpBitmap* created = nullptr;
        gdip::GdipCreateBitmapFromScan0(picture.width, picture.height, stride,
                                        PixelFormat8bppIndexed, pixels.data(), &created);
        const ScopedBitmap bitmap(created);
        if (!bitmap) {
            return std::nullopt;
        }
        // ColorPalette ends in a one-entry array that holds all the colours.
        std::vector<std::uint32_t> palette(2 + picture.palette.size());
        palette[0] = 0;  // Flags: opaque colours
        palette[1] = static_cast<std::uint32_t>(picture.palette.size());
        for (std::size_t i = 0; i < picture.palette.size(); ++i) {
            palette[2 + i] = picture.palette[i] | kOpaqueBlack;
        }
        if (gdip::GdipSetImagePalette(bitmap.get(), reinterpret_cast<const Gdiplus::ColorPalette*>(
                                                        palette.data())) != Gdiplus::Ok) {
            return std::nullopt;
        }
        return png_bytes(bitmap.get());
    }

  private:
    GdiplusSession m_gdiplus;
};

}  // namespace

std::unique_ptr<ImageFiles> make_platform_image_files() {
    return std::make_unique<GdiplusImageFiles>();
}

}  // namespace tvk
