// HD Photo (JPEG XR: .hdp, .wdp) through the Windows Imaging Component, created at run time
// so the program still starts on systems without it (Windows XP before its WIC update).
// Windows builds only.
#ifdef _WIN32

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

// The GUIDs, spelled out so that no import library has to provide them.
constexpr GUID kClsidWicFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kIidWicFactory = {0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
constexpr GUID kBgra32 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

template <class T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T** out() { return &p; }
  T* operator->() const { return p; }
};

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

struct ComLibrary {
  HMODULE ole = nullptr;
  CoCreateInstanceFn create = nullptr;
  CoUninitializeFn uninit = nullptr;
  bool initialised = false;
  ComLibrary() {
    ole = LoadLibraryA("ole32.dll");
    if (!ole) return;
    auto init = reinterpret_cast<CoInitializeExFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoInitializeEx")));
    create = reinterpret_cast<CoCreateInstanceFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoCreateInstance")));
    uninit = reinterpret_cast<CoUninitializeFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoUninitialize")));
    // S_FALSE (already initialised on this thread) also needs the matching uninitialise;
    // RPC_E_CHANGED_MODE means COM is up in another mode, which serves us as well.
    if (init) initialised = SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED));
  }
  ~ComLibrary() {
    if (initialised && uninit) uninit();
    if (ole) FreeLibrary(ole);
  }
};

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    Fail(std::string(what) + " (error " + code + ")");
  }
}

}  // namespace

Image DecodeHdPhoto(std::span<const uint8_t> d) {
  if (d.size() > 0x7fffffff) Fail("the file is too large");
  ComLibrary com;
  if (!com.create) Fail("COM is not available on this system");
  Com<IWICImagingFactory> factory;
  if (FAILED(com.create(kClsidWicFactory, nullptr, CLSCTX_INPROC_SERVER, kIidWicFactory, reinterpret_cast<void**>(factory.out()))) ||
      !factory.p)
    Fail("HD Photo needs the Windows Imaging Component, which is not installed");
  Com<IWICStream> stream;
  Check(factory->CreateStream(stream.out()), "the Windows Imaging Component could not create a stream");
  Check(stream->InitializeFromMemory(const_cast<BYTE*>(d.data()), DWORD(d.size())), "the picture could not be passed on");
  Com<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out()),
        "the Windows Imaging Component cannot decode this file (no HD Photo decoder, or not an HD Photo file)");
  Com<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, frame.out()), "the file holds no picture");
  UINT w = 0, h = 0;
  Check(frame->GetSize(&w, &h), "the picture has no size");
  CheckSize(w, h, "HD Photo picture");
  Com<IWICFormatConverter> converter;
  Check(factory->CreateFormatConverter(converter.out()), "no format converter");
  Check(converter->Initialize(frame.p, kBgra32, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom),
        "the picture cannot be converted to 32-bit colour");
  Image img = Image::Uninitialized(int(w), int(h), true);
  Check(converter->CopyPixels(nullptr, UINT(img.stride()), UINT(img.byteSize()), img.data()), "the picture could not be decoded");
  SettleAlpha(img);
  return img;
}

}  // namespace zel::img::detail

#endif  // _WIN32
