#include "ui/framework/afx_picture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstddef>
#include <memory>
#include <new>

#include "system/system_library.h"
#include "ui/framework/afx_app.h"

namespace {

// windowscodecs.dll exports it; the headers we build with do not declare it.
using CreateImagingFactory = HRESULT(WINAPI*)(UINT sdkVersion, IWICImagingFactory** factory);

// COM and the imaging component, bound at the first picture that needs
// decoding: a window at 96 dpi shows bitmaps only and never loads either.
// The factory comes straight from the library, which stays loaded once
// bound, so that each decode's COM scope below does not unload it again.
struct ImagingCalls {
  decltype(&CoInitializeEx) initializeCom = nullptr;
  decltype(&CoUninitialize) uninitializeCom = nullptr;
  CreateImagingFactory createFactory = nullptr;
};
SystemCalls<ImagingCalls> g_imaging([](ImagingCalls& c) {
  return BindSystemCall(L"ole32.dll", "CoInitializeEx", &c.initializeCom) &&
         BindSystemCall(L"ole32.dll", "CoUninitialize", &c.uninitializeCom) &&
         BindSystemCall(L"windowscodecs.dll", "WICCreateImagingFactory_Proxy", &c.createFactory);
});

// Far above any picture of ours; keeps a damaged header's size from
// overflowing the buffer sizes below.
constexpr UINT kMostPixelsPerSide = 8192;

// COM on the calling thread while a decode runs (the codecs are COM
// objects): a thread already in an apartment of either kind keeps it, and
// one that had none is left without one again.
class ComOnThisThread {
 public:
  explicit ComOnThisThread(const ImagingCalls& calls) : m_calls(calls) {
    const HRESULT result = calls.initializeCom(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // S_OK, or S_FALSE in a single-threaded apartment already: each counts one.
    m_counted = SUCCEEDED(result);
    // RPC_E_CHANGED_MODE: the thread is in the multithreaded apartment, where
    // the codecs work as well.
    m_ready = m_counted || result == RPC_E_CHANGED_MODE;
  }
  ~ComOnThisThread() {
    if (m_counted) m_calls.uninitializeCom();
  }
  ComOnThisThread(const ComOnThisThread&) = delete;
  ComOnThisThread& operator=(const ComOnThisThread&) = delete;
  bool Ready() const { return m_ready; }

 private:
  const ImagingCalls& m_calls;
  bool m_counted = false;
  bool m_ready = false;
};

// Owns one reference to a COM object.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (m_object != nullptr) m_object->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface** Out() { return &m_object; }
  Interface* Get() const { return m_object; }
  Interface* operator->() const { return m_object; }

 private:
  Interface* m_object = nullptr;
};

// The first frame of png as a 24-bit bottom-up DIB section: what LoadBitmap
// callers draw and measure. Not 32-bit: a control may take a 32-bit picture's
// fourth byte for transparency, and 32bppBGR leaves it undefined.
HBITMAP DecodePng(const ImagingCalls& calls, const void* png, DWORD size) {
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  // The stream only reads the resource's bytes, in place.
  BYTE* bytes = static_cast<BYTE*>(const_cast<void*>(png));
  if (FAILED(calls.createFactory(WINCODEC_SDK_VERSION, factory.Out())) ||
      FAILED(factory->CreateStream(stream.Out())) || FAILED(stream->InitializeFromMemory(bytes, size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height))) {
    return nullptr;
  }
  if (width == 0 || height == 0 || width > kMostPixelsPerSide || height > kMostPixelsPerSide) return nullptr;
  const UINT sourceStride = width * 4;
  std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[static_cast<std::size_t>(sourceStride) * height]);
  if (pixels == nullptr || FAILED(converter->CopyPixels(nullptr, sourceStride, sourceStride * height, pixels.get()))) {
    return nullptr;
  }

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = static_cast<LONG>(height);  // positive: bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    return nullptr;
  }
  const UINT stride = (width * 3 + 3) & ~3u;
  for (UINT y = 0; y < height; ++y) {
    const BYTE* from = pixels.get() + static_cast<std::size_t>(y) * sourceStride;
    BYTE* to = static_cast<BYTE*>(bits) + static_cast<std::size_t>(height - 1 - y) * stride;
    for (UINT x = 0; x < width; ++x, from += 4, to += 3) {
      to[0] = from[0];
      to[1] = from[1];
      to[2] = from[2];
    }
  }
  return bitmap;
}

}  // namespace

HBITMAP AfxLoadPicture(const wchar_t* name) {
  HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
  if (FindResourceW(module, name, RT_BITMAP) != nullptr) return LoadBitmapW(module, name);

  module = AfxFindResourceHandle(name, kPngResourceType);
  HRSRC resource = FindResourceW(module, name, kPngResourceType);
  if (resource == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* png = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (png == nullptr || size == 0) return nullptr;
  const ImagingCalls* calls = g_imaging.Get();
  if (calls == nullptr) return nullptr;
  // Every COM object of the decode is released before COM may be left.
  ComOnThisThread com(*calls);
  return com.Ready() ? DecodePng(*calls, png, size) : nullptr;
}

void CPictureDecoding::Begin() {
  if (m_counted) return;
  const ImagingCalls* calls = g_imaging.Get();
  m_counted = calls != nullptr &&
              SUCCEEDED(calls->initializeCom(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

CPictureDecoding::~CPictureDecoding() {
  // Bound already: Begin counted only what it bound.
  if (m_counted) g_imaging.Get()->uninitializeCom();
}
