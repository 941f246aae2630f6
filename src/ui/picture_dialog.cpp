#include "ui/picture_dialog.h"

#include "core/text.h"
#include "imaging/io.h"

namespace zel::ui {

namespace {
struct FilterRow {
  const char* description;
  const char* masks;
};

constexpr FilterRow kRows[] = {
    {"Common Graphic Files",
     "*.tif;*.gif;*.jpg;*.pcx;*.bmp;*.ico;*.cur;*.png;*.dcm;*.wmf;*.emf;*.tga;*.pxm;*.wbmp;*.jp2;*.j2k;*.dcx;*.crw;"
     "*.psd;*.iev;*.lyr;*.all;*.wdp;*.avi;*.mpg;*.wmv"},
    {"All Files", "*.*"},
    {"TIFF Bitmap", "*.tif;*.tiff;*.fax;*.g3n;*.g3f;*.xif"},
    {"CompuServe Bitmap", "*.gif"},
    {"JPEG Bitmap", "*.jpg;*.jpeg;*.jpe;*.jif"},
    {"PaintBrush", "*.pcx"},
    {"Windows Bitmap", "*.bmp;*.dib;*.rle"},
    {"Windows Icon", "*.ico"},
    {"Windows Cursor", "*.cur"},
    {"Portable Network Graphics", "*.png"},
    {"DICOM Bitmap", "*.dcm;*.dic;*.dicom;*.v2"},
    {"Windows Metafile", "*.wmf"},
    {"Enhanced Windows Metafile", "*.emf"},
    {"Targa Bitmap", "*.tga;*.targa;*.vda;*.icb;*.vst;*.pix"},
    {"Portable Pixmap, GrayMap, BitMap", "*.pxm;*.ppm;*.pgm;*.pbm"},
    {"Wireless Bitmap", "*.wbmp"},
    {"JPEG2000", "*.jp2"},
    {"JPEG2000 Code Stream", "*.j2k;*.jpc;*.j2c"},
    {"Multipage PCX", "*.dcx"},
    {"Camera RAW", "*.crw;*.cr2;*.nef;*.raw;*.pef;*.raf;*.x3f;*.bay;*.orf;*.srf;*.mrw;*.dcr;*.sr2"},
    {"Photoshop PSD", "*.psd"},
    {"Vectorial objects", "*.iev"},
    {"Layers", "*.lyr"},
    {"Layers and objects", "*.all"},
    {"Microsoft HD Photo", "*.wdp;*.hdp"},
};

// The masks of a row that the engine reads ("*.*" always stays).
std::string ReadableMasks(const std::string& masks) {
  std::string kept;
  size_t start = 0;
  while (start <= masks.size()) {
    size_t end = masks.find(';', start);
    if (end == std::string::npos) end = masks.size();
    std::string mask = masks.substr(start, end - start);
    if (mask == "*.*" || (mask.size() > 2 && img::CanRead(mask.substr(1)))) kept += (kept.empty() ? "" : ";") + mask;
    start = end + 1;
  }
  return kept;
}
}  // namespace

std::string PictureFilter() {
  std::string filter;
  for (const FilterRow& row : kRows) {
    std::string masks = ReadableMasks(row.masks);
    if (masks.empty()) continue;
    if (!filter.empty()) filter += '|';
    filter += std::string(row.description) + " (" + masks + ")|" + masks;
  }
  return filter;
}

PictureDialog::PictureDialog() {
  spec.title = "Browse Picture";
  spec.filterIndex = 1;
  spec.picturePreview = true;
}

bool PictureDialog::Execute(HWND owner) {
  spec.filter = PictureFilter();
  files.clear();
  return services().prompts->OpenFiles(owner, spec, files);
}

}  // namespace zel::ui
