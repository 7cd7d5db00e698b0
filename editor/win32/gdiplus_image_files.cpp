#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "gdiplus_api.h"
#include "gdiplus_session.h"
#include "platform_image_files.h"
#include "png_encoder.h"

namespace tvk {
namespace {

namespace gdip = Gdiplus::DllExports;

// What a pixel that cannot be read counts as.
constexpr Gdiplus::ARGB kOpaqueBlack = 0xFF000000u;
// Larger pictures (128 MiB of pixels) count as undecodable: a small file may announce a huge
// picture, and copying it would exhaust memory for a size that is refused anyway.
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{32} << 20;

struct ImageDisposer {
    void operator()(Gdiplus::GpBitmap* image) const { gdip::GdipDisposeImage(image); }
};
// Owns a GDI+ bitmap and disposes it on every way out; a failed load leaves it empty.
using ScopedBitmap = std::unique_ptr<Gdiplus::GpBitmap, ImageDisposer>;

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

class GdiplusImageFiles final : public ImageFiles {
  public:
    Picture read_picture(const std::filesystem::path& file) override {
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
            return {};
        }
        Picture picture{static_cast<int>(width), static_cast<int>(height), {}};
        picture.argb.resize(static_cast<std::size_t>(width) * height);
        for (int x = 0; x < picture.width; ++x) {
            for (int y = 0; y < picture.height; ++y) {
                Gdiplus::ARGB argb = 0;
                if (gdip::GdipBitmapGetPixel(bitmap.get(), x, y, &argb) != Gdiplus::Ok) {
                    argb = kOpaqueBlack;
                }
                picture.argb[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] =
                    argb;
            }
        }
        return picture;
    }

    std::optional<std::string> encode_png(const Picture& picture) override {
        Gdiplus::GpBitmap* created = nullptr;
        gdip::GdipCreateBitmapFromScan0(picture.width, picture.height, 0, PixelFormat24bppRGB,
                                        nullptr, &created);
        const ScopedBitmap bitmap(created);
        CLSID png{};
        if (!bitmap || find_png_encoder(png) == -1) {
            return std::nullopt;
        }
        for (int x = 0; x < picture.width; ++x) {
            for (int y = 0; y < picture.height; ++y) {
                gdip::GdipBitmapSetPixel(bitmap.get(), x, y, picture.pixel(x, y) | kOpaqueBlack);
            }
        }
        IStream* opened = nullptr;
        if (CreateStreamOnHGlobal(nullptr, TRUE, &opened) != S_OK) {
            return std::nullopt;
        }
        const std::unique_ptr<IStream, ComReleaser> stream(opened);
        if (gdip::GdipSaveImageToStream(bitmap.get(), stream.get(), &png, nullptr) != Gdiplus::Ok) {
            return std::nullopt;
        }
        return stream_contents(*stream);
    }

  private:
    GdiplusSession m_gdiplus;
};

}  // namespace

std::unique_ptr<ImageFiles> make_platform_image_files() {
    return std::make_unique<GdiplusImageFiles>();
}

}  // namespace tvk
