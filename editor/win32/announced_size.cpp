#include "announced_size.h"

#include <wincodec.h>
#include <windows.h>

#include <memory>

namespace tvk {
namespace {

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, ComReleaser>;

// COM for the calling thread while it lives; a thread that has COM already keeps it as it is.
class ComForThisThread {
  public:
    ComForThisThread() : m_started(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComForThisThread() {
        if (m_started) {
            CoUninitialize();
        }
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;

  private:
    bool m_started;
};

}  // namespace

std::optional<PictureSize> announced_size(const std::filesystem::path& file) {
    const ComForThisThread com;
    IWICImagingFactory* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&created)))) {
        return std::nullopt;
    }
    const ComPointer<IWICImagingFactory> factory(created);
    // Decoding on demand: the decoder reads the header now and the pixels only when asked.
    IWICBitmapDecoder* opened = nullptr;
    if (FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &opened))) {
        return std::nullopt;
    }
    const ComPointer<IWICBitmapDecoder> decoder(opened);
    IWICBitmapFrameDecode* first = nullptr;
    if (FAILED(decoder->GetFrame(0, &first))) {
        return std::nullopt;
    }
    const ComPointer<IWICBitmapFrameDecode> frame(first);
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) {
        return std::nullopt;
    }
    return PictureSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace tvk
