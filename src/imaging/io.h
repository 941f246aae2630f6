// Reading and writing picture files, the reader or writer chosen by the file's extension.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/image.h"

namespace zel::img {

enum class Format {
  Unknown,
  Bmp, Ico, Cur, Gif, Jpeg, Png, Tiff, Tga, Pcx, Dcx, Psd, Wbmp, Pnm, Jp2, J2k,
  Wmf, Emf, HdPhoto, CameraRaw,  // WMF/EMF/HD Photo are read only by Windows builds
  Pdf,                           // written only
};

// The format that an extension (".JPG", "jpg", or a whole path) names; Unknown otherwise.
Format FormatFromExtension(std::string_view extOrPath);

// True when this build can read files with that extension (".jpg" or "jpg", any case).
bool CanRead(std::string_view extension);
// The extensions this build reads, lower case with the dot, for the picture dialog's filter.
std::vector<std::string> ReadableExtensions();
// True when Save() can write files with that extension.
bool CanWrite(std::string_view extension);

Image Load(const std::string& path);
// Decodes bytes held in memory. `name` only appears in error messages.
Image LoadFromMemory(std::span<const uint8_t> bytes, Format format, const std::string& name = "<memory>");

struct SaveOptions {
  int jpegQuality = 80;     // 1..100
  bool progressive = false; // JPEG only
};

// Writes by the extension of `path` (.bmp .jpg .jpeg .png .gif .tif .tiff .tga .psd .pdf).
// An existing file is replaced only once the new one is complete: the data goes to a temporary
// file in the same folder that is then renamed over it, so a failed write never loses it.
// BMP is 24-bit BI_RGB bottom-up, as the wallpaper and the OEM logo need; formats without
// transparency (BMP, JPEG, PDF) get transparent pixels flattened onto white.
void Save(const Image& image, const std::string& path, const SaveOptions& options = {});
std::vector<uint8_t> SaveToMemory(const Image& image, Format format, const SaveOptions& options = {});

std::vector<uint8_t> EncodeJpeg(const Image& image, int quality, bool progressive);

struct Size {
  int width = 0, height = 0;
};

// Load(in) then Save(out), streaming where the formats allow: a JPEG written as BMP (the
// wallpaper's case) goes row by row, never holding the whole picture. Returns its size.
Size ConvertFile(const std::string& in, const std::string& out, const SaveOptions& options = {});

// Reads a whole file; Error names the file and the reason.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes through a temporary file in the same folder and a rename (see Save).
void WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace zel::img
