// JPEG through libjpeg(-turbo). libjpeg reports errors by calling error_exit, which must not
// return; we longjmp back to the function that called setjmp. Those functions hold only plain C
// data (no C++ object with a destructor lives in a frame that a longjmp crosses): the libjpeg
// state sits in a struct owned by a C++ wrapper one level up, which cleans it up and throws.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

#include "imaging/codecs.h"
#include "imaging/ops.h"

namespace zel::img::detail {
namespace {

// A progressive file may hold any number of scans; real ones have about ten. A file with
// thousands of tiny scans would make decoding crawl, so it is refused.
constexpr int kMaxScans = 1000;

struct ErrorMgr {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  // The data ended (libjpeg then supplies an end marker) and the decoder needed bits that were
  // not there. Only both together mean lost pixels: a file that lacks just its end marker
  // reaches the end while reading ahead, with every pixel decoded.
  bool endOfFile;
  bool ranOut;
  bool tooLarge;  // encoding: output passed the caller's limit
  bool truncated() const { return endOfFile && ranOut; }
};

void OnError(j_common_ptr c) {
  auto* e = reinterpret_cast<ErrorMgr*>(c->err);
  (*c->err->format_message)(c, e->message);
  std::longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr c, int level) {
  auto* e = reinterpret_cast<ErrorMgr*>(c->err);
  if (level < 0 && c->err->msg_code == JWRN_JPEG_EOF) e->endOfFile = true;
  if (level < 0 && c->err->msg_code == JWRN_HIT_MARKER) e->ranOut = true;
}

void OnProgress(j_common_ptr c) {
  if (c->is_decompressor) {
    auto* d = reinterpret_cast<j_decompress_ptr>(c);
    if (d->input_scan_number > kMaxScans) {
      auto* e = reinterpret_cast<ErrorMgr*>(c->err);
      std::snprintf(e->message, sizeof e->message, "too many scans in a progressive JPEG file");
      std::longjmp(e->jump, 1);
    }
  }
}

struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorMgr err;
  jpeg_progress_mgr progress;
  bool created;
  bool cmyk;
  bool adobeInverted;
  bool bgr;  // rows of 3 bytes (B, G, R) instead of BGRA
};

// --- setjmp frames: plain C data only -------------------------------------------------------

bool ReadHeaderC(Decoder* d, const uint8_t* data, size_t size, FILE* file, int minSide) {
  if (setjmp(d->err.jump)) return false;
  jpeg_create_decompress(&d->cinfo);
  d->created = true;
  d->progress.progress_monitor = OnProgress;
  d->cinfo.progress = &d->progress;
  if (file) jpeg_stdio_src(&d->cinfo, file);
  else jpeg_mem_src(&d->cinfo, data, (unsigned long)size);
  jpeg_read_header(&d->cinfo, TRUE);
  d->cmyk = d->cinfo.jpeg_color_space == JCS_CMYK || d->cinfo.jpeg_color_space == JCS_YCCK;
  d->adobeInverted = d->cmyk && d->cinfo.saw_Adobe_marker;
  d->cinfo.out_color_space = d->cmyk ? JCS_CMYK : d->bgr ? JCS_EXT_BGR : JCS_EXT_BGRA;
  d->cinfo.dct_method = JDCT_ISLOW;
  if (minSide > 0) {
    const unsigned longSide = std::max(d->cinfo.image_width, d->cinfo.image_height);
    unsigned num = 1;
    while (num < 8 && (longSide * num + 7) / 8 < unsigned(minSide)) ++num;
    d->cinfo.scale_num = num;
    d->cinfo.scale_denom = 8;
  }
  jpeg_calc_output_dimensions(&d->cinfo);
  return true;
}

typedef uint8_t* (*RowFn)(void* ctx, unsigned y);
typedef void (*RowDoneFn)(void* ctx, unsigned y);

bool ReadRowsC(Decoder* d, RowFn rowAt, RowDoneFn done, void* ctx) {
  if (setjmp(d->err.jump)) return false;
  jpeg_start_decompress(&d->cinfo);
  while (d->cinfo.output_scanline < d->cinfo.output_height) {
    unsigned y = d->cinfo.output_scanline;
    JSAMPROW row = rowAt(ctx, y);
    if (jpeg_read_scanlines(&d->cinfo, &row, 1) != 1) break;
    if (d->err.truncated()) break;
    done(ctx, y);
  }
  return true;
}

// ---------------------------------------------------------------------------------------------

class DecoderHandle {
 public:
  DecoderHandle() {
    std::memset(&d_, 0, sizeof d_);
    d_.cinfo.err = jpeg_std_error(&d_.err.pub);
    d_.err.pub.error_exit = OnError;
    d_.err.pub.emit_message = OnMessage;
  }
  ~DecoderHandle() {
    if (d_.created) jpeg_destroy_decompress(&d_.cinfo);
  }
  Decoder* get() { return &d_; }
  [[noreturn]] void Throw() { Fail(std::string("JPEG error: ") + d_.err.message); }

 private:
  Decoder d_;
};

void CmykRowToBgra(uint8_t* p, unsigned width, bool inverted) {
  for (unsigned x = 0; x < width; ++x, p += 4) {
    unsigned c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    // With inverted values (as Adobe writes them) each holds 255 - ink.
    uint8_t r = uint8_t((c * k + 127) / 255), g = uint8_t((m * k + 127) / 255), b = uint8_t((y * k + 127) / 255);
    p[0] = b, p[1] = g, p[2] = r, p[3] = 255;
  }
}

struct RowCtx {
  Decoder* d;
  Image* image;             // decode into the picture directly, or
  std::vector<uint8_t> buf; // one scratch row for streaming
  RowSink* sink;
  bool failed = false;
};

uint8_t* RowAt(void* ctx, unsigned y) {
  auto* c = static_cast<RowCtx*>(ctx);
  return c->image ? c->image->row(int(y)) : c->buf.data();
}

void RowDone(void* ctx, unsigned y) {
  auto* c = static_cast<RowCtx*>(ctx);
  uint8_t* row = RowAt(ctx, y);
  if (c->d->cmyk) {
    CmykRowToBgra(row, c->d->cinfo.output_width, c->d->adobeInverted);
    if (c->d->bgr)  // pack in place: each pixel moves down, never over one not yet read
      for (unsigned x = 0; x < c->d->cinfo.output_width; ++x) std::memmove(row + x * 3, row + x * 4, 3);
  }
  if (c->sink) c->sink->Row(row);
}

void Decode(std::span<const uint8_t> data, FILE* file, int minSide, Image* image, RowSink* sink, bool bgr = false) {
  DecoderHandle h;
  Decoder* d = h.get();
  d->bgr = bgr;
  if (!ReadHeaderC(d, data.data(), data.size(), file, minSide)) h.Throw();
  CheckSize(d->cinfo.image_width, d->cinfo.image_height);
  const int w = int(d->cinfo.output_width), hgt = int(d->cinfo.output_height);
  RowCtx ctx{d, nullptr, {}, sink};
  if (image) {
    *image = Image::Uninitialized(w, hgt, false);
    ctx.image = image;
  } else {
    ctx.buf.resize(size_t(w) * 4);
    sink->Begin(w, hgt, false);
  }
  if (!ReadRowsC(d, RowAt, RowDone, &ctx)) h.Throw();
  if (d->err.truncated()) Fail("the JPEG data ends early (truncated file)");
}

// --- encoding ---------------------------------------------------------------------------------

struct Dest {
  jpeg_destination_mgr pub;
  uint8_t* buffer;
  size_t capacity;
  uint64_t abortAbove;
  ErrorMgr* err;
};

void DestInit(j_compress_ptr c) {
  auto* d = reinterpret_cast<Dest*>(c->dest);
  d->pub.next_output_byte = d->buffer;
  d->pub.free_in_buffer = d->capacity;
}

boolean DestEmpty(j_compress_ptr c) {
  auto* d = reinterpret_cast<Dest*>(c->dest);
  size_t used = d->capacity;
  if (d->abortAbove && used > d->abortAbove) {
    d->err->tooLarge = true;
    std::snprintf(d->err->message, sizeof d->err->message, "output larger than the limit");
    std::longjmp(d->err->jump, 1);
  }
  size_t cap = d->capacity * 2;
  auto* nb = static_cast<uint8_t*>(std::realloc(d->buffer, cap));
  if (!nb) {
    std::snprintf(d->err->message, sizeof d->err->message, "not enough memory");
    std::longjmp(d->err->jump, 1);
  }
  d->buffer = nb;
  d->capacity = cap;
  d->pub.next_output_byte = nb + used;
  d->pub.free_in_buffer = cap - used;
  return TRUE;
}

void DestTerm(j_compress_ptr) {}

struct Encoder {
  jpeg_compress_struct cinfo;
  ErrorMgr err;
  Dest dest;
  bool created;
};

bool EncodeC(Encoder* e, const uint8_t* pixels, unsigned w, unsigned h, int quality, bool progressive) {
  if (setjmp(e->err.jump)) return false;
  jpeg_create_compress(&e->cinfo);
  e->created = true;
  e->cinfo.dest = &e->dest.pub;
  e->cinfo.image_width = w;
  e->cinfo.image_height = h;
  e->cinfo.input_components = 4;
  e->cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&e->cinfo);
  jpeg_set_quality(&e->cinfo, quality, TRUE);
  if (quality >= 90) {
    // At high qualities keep full chroma resolution: screenshots with coloured text need it.
    e->cinfo.comp_info[0].h_samp_factor = 1;
    e->cinfo.comp_info[0].v_samp_factor = 1;
  }
  e->cinfo.optimize_coding = TRUE;
  e->cinfo.dct_method = JDCT_ISLOW;
  if (progressive) jpeg_simple_progression(&e->cinfo);
  jpeg_start_compress(&e->cinfo, TRUE);
  while (e->cinfo.next_scanline < h) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels + size_t(e->cinfo.next_scanline) * w * 4);
    jpeg_write_scanlines(&e->cinfo, &row, 1);
  }
  jpeg_finish_compress(&e->cinfo);
  return true;
}

class EncoderHandle {
 public:
  EncoderHandle() {
    std::memset(&e_, 0, sizeof e_);
    e_.cinfo.err = jpeg_std_error(&e_.err.pub);
    e_.err.pub.error_exit = OnError;
    e_.err.pub.emit_message = OnMessage;
    e_.dest.pub.init_destination = DestInit;
    e_.dest.pub.empty_output_buffer = DestEmpty;
    e_.dest.pub.term_destination = DestTerm;
    e_.dest.err = &e_.err;
  }
  ~EncoderHandle() {
    if (e_.created) jpeg_destroy_compress(&e_.cinfo);
    std::free(e_.dest.buffer);
  }
  Encoder* get() { return &e_; }

 private:
  Encoder e_;
};

}  // namespace

Image DecodeJpeg(std::span<const uint8_t> d) {
  Image img;
  Decode(d, nullptr, 0, &img, nullptr);
  return img;
}

void StreamJpeg(std::span<const uint8_t> d, int minSide, RowSink& sink) { Decode(d, nullptr, std::max(1, minSide), nullptr, &sink); }

void StreamJpegFile(FILE* file, int minSide, RowSink& sink) { Decode({}, file, std::max(0, minSide), nullptr, &sink); }

void StreamJpegFileBgr(FILE* file, RowSink& sink) { Decode({}, file, 0, nullptr, &sink, true); }

std::vector<uint8_t> EncodeJpegImpl(const Image& image, int quality, bool progressive, uint64_t abortAbove,
                                    bool* aborted) {
  if (aborted) *aborted = false;
  Image flat;
  const Image* src = &image;
  if (image.hasAlpha()) {
    flat = Flatten(image);
    src = &flat;
  }
  EncoderHandle h;
  Encoder* e = h.get();
  // Start with a buffer near the likely size: about a byte per pixel at most qualities.
  e->dest.capacity = std::clamp<size_t>(size_t(src->width()) * size_t(src->height()) / 4, 4096, size_t(64) << 20);
  // With a limit, the buffer fills up just past it, so the encoder stops right there.
  if (abortAbove) e->dest.capacity = size_t(std::min<uint64_t>(e->dest.capacity, abortAbove + 1));
  e->dest.buffer = static_cast<uint8_t*>(std::malloc(e->dest.capacity));
  if (!e->dest.buffer) Fail("not enough memory");
  e->dest.abortAbove = abortAbove;
  if (!EncodeC(e, src->data(), unsigned(src->width()), unsigned(src->height()), std::clamp(quality, 1, 100),
               progressive)) {
    if (e->err.tooLarge && aborted) {
      *aborted = true;
      return {};
    }
    Fail(std::string("JPEG error: ") + e->err.message);
  }
  size_t used = e->dest.capacity - e->dest.pub.free_in_buffer;
  if (abortAbove && used > abortAbove) {
    if (aborted) *aborted = true;
    return {};
  }
  return std::vector<uint8_t>(e->dest.buffer, e->dest.buffer + used);
}

}  // namespace zel::img::detail
