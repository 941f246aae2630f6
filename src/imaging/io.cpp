#include "imaging/io.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

#include "imaging/codecs.h"
#include "imaging/ops.h"

namespace zel::img {
namespace {

struct ExtEntry {
  const char* ext;
  Format format;
};

constexpr ExtEntry kExtensions[] = {
    {"bmp", Format::Bmp},  {"dib", Format::Bmp},   {"rle", Format::Bmp},   {"ico", Format::Ico},
    {"cur", Format::Cur},  {"gif", Format::Gif},   {"jpg", Format::Jpeg},  {"jpeg", Format::Jpeg},
    {"jpe", Format::Jpeg}, {"jif", Format::Jpeg},  {"png", Format::Png},   {"tif", Format::Tiff},
    {"tiff", Format::Tiff}, {"tga", Format::Tga},  {"targa", Format::Tga}, {"vda", Format::Tga},
    {"icb", Format::Tga},  {"vst", Format::Tga},   {"pix", Format::Tga},   {"pcx", Format::Pcx},
    {"dcx", Format::Dcx},  {"psd", Format::Psd},   {"wbmp", Format::Wbmp}, {"pxm", Format::Pnm},
    {"pnm", Format::Pnm},  {"ppm", Format::Pnm},   {"pgm", Format::Pnm},   {"pbm", Format::Pnm},
    {"jp2", Format::Jp2},  {"j2k", Format::J2k},   {"jpc", Format::J2k},   {"j2c", Format::J2k},
    {"wmf", Format::Wmf},  {"emf", Format::Emf},   {"wdp", Format::HdPhoto}, {"hdp", Format::HdPhoto},
    {"crw", Format::CameraRaw}, {"cr2", Format::CameraRaw}, {"nef", Format::CameraRaw},
    {"raw", Format::CameraRaw}, {"pef", Format::CameraRaw}, {"raf", Format::CameraRaw},
    {"x3f", Format::CameraRaw}, {"bay", Format::CameraRaw}, {"orf", Format::CameraRaw},
    {"srf", Format::CameraRaw}, {"mrw", Format::CameraRaw}, {"dcr", Format::CameraRaw},
    {"sr2", Format::CameraRaw}, {"pdf", Format::Pdf},
};

bool Readable(Format f) {
  switch (f) {
    case Format::Unknown:
    case Format::Pdf:
      return false;
#ifndef _WIN32
    case Format::Wmf:
    case Format::Emf:
    case Format::HdPhoto:
      return false;
#endif
    default:
      return true;
  }
}

bool Writable(Format f) {
  switch (f) {
    case Format::Bmp: case Format::Jpeg: case Format::Png: case Format::Gif:
    case Format::Tiff: case Format::Tga: case Format::Psd: case Format::Pdf:
      return true;
    default:
      return false;
  }
}

std::string ExtensionOf(std::string_view s) {
  size_t sep = s.find_last_of("/\\:");
  if (sep != std::string_view::npos) s = s.substr(sep + 1);
  size_t dot = s.rfind('.');
  if (dot != std::string_view::npos) s = s.substr(dot + 1);
  std::string e(s);
  for (char& c : e) c = char((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
  return e;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

Format FormatFromExtension(std::string_view extOrPath) {
  std::string e = ExtensionOf(extOrPath);
  for (const auto& x : kExtensions)
    if (e == x.ext) return x.format;
  return Format::Unknown;
}

bool CanRead(std::string_view extension) { return Readable(FormatFromExtension(extension)); }
bool CanWrite(std::string_view extension) { return Writable(FormatFromExtension(extension)); }

std::vector<std::string> ReadableExtensions() {
  std::vector<std::string> out;
  for (const auto& x : kExtensions)
    if (Readable(x.format)) out.push_back(std::string(".") + x.ext);
  return out;
}

Image LoadFromMemory(std::span<const uint8_t> d, Format format, const std::string& name) {
  using namespace detail;
  try {
    if (d.empty()) Fail("the file is empty");
    switch (format) {
      case Format::Bmp: return DecodeBmp(d);
      case Format::Ico: case Format::Cur: return DecodeIco(d);
      case Format::Gif: return DecodeGif(d);
      case Format::Jpeg: return DecodeJpeg(d);
      case Format::Png: return DecodePng(d);
      case Format::Tiff: return DecodeTiff(d);
      case Format::Tga: return DecodeTga(d);
      case Format::Pcx: return DecodePcx(d);
      case Format::Dcx: return DecodeDcx(d);
      case Format::Psd: return DecodePsd(d);
      case Format::Wbmp: return DecodeWbmp(d);
      case Format::Pnm: return DecodePnm(d);
      case Format::Jp2: case Format::J2k: return DecodeJp2(d);
      case Format::CameraRaw: return DecodeCameraRaw(d);
#ifdef _WIN32
      case Format::Wmf: return DecodeMetafile(d, false);
      case Format::Emf: return DecodeMetafile(d, true);
      case Format::HdPhoto: return DecodeHdPhoto(d);
#endif
      default: Fail("this picture format cannot be read");
    }
  } catch (const std::bad_alloc&) {
    throw Error("Cannot read picture " + Quoted(name) + ": not enough memory");
  } catch (const Error& e) {
    throw Error("Cannot read picture " + Quoted(name) + ": " + e.what());
  }
}

Image Load(const std::string& path) {
  Format f = FormatFromExtension(path);
  if (!Readable(f))
    throw Error("Cannot read picture " + Quoted(path) + ": the file type \"." + ExtensionOf(path) +
                "\" is not a picture format this program reads");
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  return LoadFromMemory(bytes, f, path);
}

std::vector<uint8_t> SaveToMemory(const Image& image, Format format, const SaveOptions& o) {
  using namespace detail;
  if (image.empty()) throw Error("there is no picture to save");
  switch (format) {
    case Format::Bmp: return EncodeBmp(image);
    case Format::Jpeg: return EncodeJpeg(image, o.jpegQuality, o.progressive);
    case Format::Png: return EncodePng(image);
    case Format::Gif: return EncodeGif(image);
    case Format::Tiff: return EncodeTiff(image);
    case Format::Tga: return EncodeTga(image);
    case Format::Psd: return EncodePsd(image);
    case Format::Pdf: return EncodePdf(image);
    default: throw Error("this picture format cannot be written");
  }
}

std::vector<uint8_t> EncodeJpeg(const Image& image, int quality, bool progressive) {
  if (image.empty()) throw Error("there is no picture to save");
  return detail::EncodeJpegImpl(image, std::clamp(quality, 1, 100), progressive);
}

void Save(const Image& image, const std::string& path, const SaveOptions& options) {
  Format f = FormatFromExtension(path);
  if (!Writable(f))
    throw Error("Cannot save picture " + Quoted(path) + ": the file type \"." + ExtensionOf(path) +
                "\" is not a format this program writes");
  if (image.empty()) throw Error("Cannot save picture " + Quoted(path) + ": there is no picture to save");
  if (f == Format::Bmp) {
    // Streamed straight to the file: a wallpaper-sized BMP need not be built in memory first.
    detail::WriteFileReplacingWith(path, [&](const detail::ByteOut& out) { detail::WriteBmp(image, out); });
    return;
  }
  std::vector<uint8_t> bytes;
  try {
    bytes = SaveToMemory(image, f, options);
  } catch (const std::bad_alloc&) {
    throw Error("Cannot save picture " + Quoted(path) + ": not enough memory");
  } catch (const Error& e) {
    throw Error("Cannot save picture " + Quoted(path) + ": " + e.what());
  }
  WriteFileReplacing(path, bytes);
}

Size ConvertFile(const std::string& in, const std::string& out, const SaveOptions& options) {
  if (FormatFromExtension(in) == Format::Jpeg && FormatFromExtension(out) == Format::Bmp) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(in.c_str(), "rb"), &std::fclose);
    if (!f) throw Error("Cannot open " + Quoted(in) + ": the file does not exist or cannot be read");
    try {
      return detail::ConvertJpegToBmp(f.get(), out);
    } catch (const detail::ReadError& e) {
      throw Error("Cannot read picture " + Quoted(in) + ": " + e.what());
    } catch (const std::bad_alloc&) {
      throw Error("Cannot read picture " + Quoted(in) + ": not enough memory");
    }
  }
  const Image image = Load(in);
  Save(image, out, options);
  return {image.width(), image.height()};
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) throw Error("Cannot open " + Quoted(path) + ": the file does not exist or cannot be read");
  std::vector<uint8_t> out;
  constexpr size_t kChunk = 1 << 20;
  constexpr size_t kMaxFile = size_t(1) << 30;  // nothing this program reads is larger
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    long n = std::ftell(f.get());
    if (n > 0 && size_t(n) <= kMaxFile) out.reserve(size_t(n));
    std::fseek(f.get(), 0, SEEK_SET);
  }
  for (;;) {
    size_t old = out.size();
    if (old >= kMaxFile) throw Error("Cannot read " + Quoted(path) + ": the file is larger than 1 GiB");
    out.resize(old + kChunk);
    size_t got = std::fread(out.data() + old, 1, kChunk, f.get());
    out.resize(old + got);
    if (got < kChunk) break;
  }
  if (std::ferror(f.get())) throw Error("Cannot read " + Quoted(path) + ": read error");
  return out;
}

}  // namespace zel::img
