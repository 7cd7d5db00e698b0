#include "png_encoder.h"

#include <cstdlib>
#include <cwchar>
#include <memory>

#include "gdiplus_api.h"

namespace tvk {
namespace {

constexpr wchar_t kPngMimeType[] = L"image/png";

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};

}  // namespace

int find_png_encoder(CLSID& clsid) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size);
    if (size == 0) {
        return -1;
    }
    // The descriptions and the strings they point to share one block of `size` bytes.
    const std::unique_ptr<void, FreeDeleter> buffer(std::malloc(size));
    if (!buffer) {
        return -1;
    }
    auto* encoders = static_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, size, encoders) != Gdiplus::Ok) {
        return -1;
    }
    for (UINT j = 0; j < count; ++j) {
        if (encoders[j].MimeType != nullptr &&
            std::wcscmp(encoders[j].MimeType, kPngMimeType) == 0) {
            clsid = encoders[j].Clsid;
            return static_cast<int>(j);
        }
    }
    return -1;
}

}  // namespace tvk
