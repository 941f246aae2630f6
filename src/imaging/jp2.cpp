// JPEG 2000 (JP2 files and raw J2K code streams) through OpenJPEG.
#include <algorithm>
#include <cstdio>

#include <openjpeg.h>

#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

struct Mem {
  std::span<const uint8_t> d;
  OPJ_OFF_T pos = 0;
};

OPJ_SIZE_T Read(void* buf, OPJ_SIZE_T n, void* user) {
  auto* m = static_cast<Mem*>(user);
  const OPJ_OFF_T left = OPJ_OFF_T(m->d.size()) - m->pos;
  if (left <= 0) return OPJ_SIZE_T(-1);
  const OPJ_SIZE_T k = std::min<OPJ_SIZE_T>(n, OPJ_SIZE_T(left));
  std::memcpy(buf, m->d.data() + m->pos, k);
  m->pos += OPJ_OFF_T(k);
  return k;
}
OPJ_OFF_T Skip(OPJ_OFF_T n, void* user) {
  auto* m = static_cast<Mem*>(user);
  const OPJ_OFF_T target = std::clamp<OPJ_OFF_T>(m->pos + n, 0, OPJ_OFF_T(m->d.size()));
  const OPJ_OFF_T moved = target - m->pos;
  m->pos = target;
  return moved;
}
OPJ_BOOL Seek(OPJ_OFF_T n, void* user) {
  auto* m = static_cast<Mem*>(user);
  if (n < 0 || n > OPJ_OFF_T(m->d.size())) return OPJ_FALSE;
  m->pos = n;
  return OPJ_TRUE;
}

void OnError(const char* msg, void* user) {
  auto* s = static_cast<std::string*>(user);
  if (s->empty() && msg) {
    *s = msg;
    while (!s->empty() && (s->back() == '\n' || s->back() == '\r')) s->pop_back();
  }
}
void Quiet(const char*, void*) {}

struct Handles {
  opj_stream_t* stream = nullptr;
  opj_codec_t* codec = nullptr;
  opj_image_t* image = nullptr;
  ~Handles() {
    if (image) opj_image_destroy(image);
    if (codec) opj_destroy_codec(codec);
    if (stream) opj_stream_destroy(stream);
  }
};

uint8_t To8(int v, const opj_image_comp_t& c) {
  if (c.sgnd) v += 1 << (c.prec - 1);
  if (v < 0) v = 0;
  if (c.prec > 8) v >>= (c.prec - 8);
  else if (c.prec < 8) v = v * 255 / ((1 << c.prec) - 1);
  return uint8_t(std::min(v, 255));
}

// Checks the code stream's size marker before OpenJPEG sees it: OpenJPEG sets up per-tile and
// per-component structures while reading the header, so a few bytes declaring 65535 tiles of
// many components would cost hundreds of megabytes before any size could be refused.
void CheckSizeMarker(std::span<const uint8_t> d, bool jp2) {
  size_t at = 0;
  if (jp2) {
    // Top-level boxes up to the contiguous code stream box.
    ByteReader r(d);
    for (;;) {
      if (r.left() < 8) Fail("the JPEG 2000 file holds no code stream");
      const size_t start = r.pos();
      uint64_t length = r.be32();
      const uint32_t type = r.be32();
      size_t header = 8;
      if (length == 1) {
        length = uint64_t(r.be32()) << 32 | r.be32();
        header = 16;
      }
      if (type == 0x6a703263) {  // 'jp2c'
        at = start + header;
        break;
      }
      if (length == 0 || length < header || length > d.size() - start) Fail("corrupt JPEG 2000 box structure");
      r.seek(start + size_t(length));
    }
  }
  ByteReader r(d, at);
  if (r.be16() != 0xff4f || r.be16() != 0xff51) Fail("the JPEG 2000 code stream does not start with its size marker");
  r.be16();  // Lsiz
  r.be16();  // Rsiz
  const uint64_t xs = r.be32(), ys = r.be32(), xo = r.be32(), yo = r.be32();
  const uint64_t xt = r.be32(), yt = r.be32(), xto = r.be32(), yto = r.be32();
  const uint64_t comps = r.be16();
  if (xo >= xs || yo >= ys) Fail("JPEG 2000 picture without pixels");
  CheckSize(int64_t(std::min<uint64_t>(xs - xo, 1u << 30)), int64_t(std::min<uint64_t>(ys - yo, 1u << 30)), "JPEG 2000 picture");
  if (xt == 0 || yt == 0 || xto > xo || yto > yo || comps == 0) Fail("corrupt JPEG 2000 size marker");
  const uint64_t tiles = ((xs - xto + xt - 1) / xt) * ((ys - yto + yt - 1) / yt);
  if (tiles * comps > 16384) Fail("the JPEG 2000 picture has too many tiles or components");
}

}  // namespace

Image DecodeJp2(std::span<const uint8_t> d, int reduceToSide) {
  static const uint8_t kJp2Sig[12] = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 13, 10, 0x87, 10};
  static const uint8_t kJ2kSig[4] = {0xff, 0x4f, 0xff, 0x51};
  OPJ_CODEC_FORMAT fmt;
  if (d.size() >= 12 && std::memcmp(d.data(), kJp2Sig, 12) == 0) fmt = OPJ_CODEC_JP2;
  else if (d.size() >= 4 && std::memcmp(d.data(), kJ2kSig, 4) == 0) fmt = OPJ_CODEC_J2K;
  else Fail("not a JPEG 2000 file");
  CheckSizeMarker(d, fmt == OPJ_CODEC_JP2);

  Mem mem{d};
  std::string error;
  Handles h;
  h.stream = opj_stream_create(1 << 16, OPJ_TRUE);
  if (!h.stream) Fail("not enough memory");
  opj_stream_set_user_data(h.stream, &mem, nullptr);
  opj_stream_set_user_data_length(h.stream, d.size());
  opj_stream_set_read_function(h.stream, Read);
  opj_stream_set_skip_function(h.stream, Skip);
  opj_stream_set_seek_function(h.stream, Seek);
  h.codec = opj_create_decompress(fmt);
  if (!h.codec) Fail("not enough memory");
  opj_set_error_handler(h.codec, OnError, &error);
  opj_set_warning_handler(h.codec, Quiet, nullptr);
  opj_set_info_handler(h.codec, Quiet, nullptr);
  opj_dparameters_t params;
  opj_set_default_decoder_parameters(&params);
  if (!opj_setup_decoder(h.codec, &params)) Fail("JPEG 2000 error: " + error);
  if (!opj_read_header(h.stream, h.codec, &h.image) || !h.image)
    Fail("JPEG 2000 error: " + (error.empty() ? std::string("cannot read the header") : error));
  const opj_image_t* im = h.image;
  if (im->numcomps < 1 || !im->comps) Fail("JPEG 2000 picture without components");
  CheckSize(int64_t(im->x1) - im->x0, int64_t(im->y1) - im->y0, "JPEG 2000 picture");
  // At most four components are shown (grey, grey + alpha, RGB, RGBA); decoding only those keeps
  // a file that declares thousands of components from costing thousands of picture buffers.
  const OPJ_UINT32 used = std::min<OPJ_UINT32>(im->numcomps, 4);
  for (OPJ_UINT32 c = 0; c < used; ++c) {
    const auto& comp = im->comps[c];
    if (comp.prec < 1 || comp.prec > 31 || comp.dx == 0 || comp.dy == 0) Fail("unsupported JPEG 2000 component");
  }
  if (im->numcomps > used) {
    const OPJ_UINT32 first[4] = {0, 1, 2, 3};
    if (!opj_set_decoded_components(h.codec, used, first, OPJ_FALSE)) Fail("JPEG 2000 error: " + error);
  }
  if (reduceToSide > 0) {
    opj_codestream_info_v2_t* info = opj_get_cstr_info(h.codec);
    int levels = info ? int(info->m_default_tile_info.tccp_info ? info->m_default_tile_info.tccp_info[0].numresolutions : 1) : 1;
    if (info) opj_destroy_cstr_info(&info);
    const int64_t side = std::max<int64_t>(int64_t(im->x1) - im->x0, int64_t(im->y1) - im->y0);
    int f = 0;
    while (f + 1 < levels && (side >> (f + 1)) >= reduceToSide) ++f;
    if (f > 0) opj_set_decoded_resolution_factor(h.codec, OPJ_UINT32(f));
  }
  if (!opj_decode(h.codec, h.stream, h.image) || !opj_end_decompress(h.codec, h.stream))
    Fail("JPEG 2000 error: " + (error.empty() ? std::string("cannot decode the picture") : error));

  const opj_image_comp_t* comps = im->comps;
  const int w = int(comps[0].w), hgt = int(comps[0].h);
  CheckSize(w, hgt, "JPEG 2000 picture");
  const OPJ_UINT32 nc = std::min<OPJ_UINT32>(im->numcomps, 4);
  for (OPJ_UINT32 c = 0; c < nc; ++c)
    if (!comps[c].data || comps[c].w == 0 || comps[c].h == 0) Fail("JPEG 2000 component without data");
  const bool colour = nc >= 3;
  const int alphaIndex = colour ? (nc >= 4 ? 3 : -1) : (nc >= 2 ? 1 : -1);
  Image img(w, hgt, alphaIndex >= 0);
  auto sample = [&](int c, int x, int y) {
    const auto& comp = comps[c];
    const size_t sx = std::min<size_t>(comp.w - 1, size_t(x) * comp.w / size_t(w));
    const size_t sy = std::min<size_t>(comp.h - 1, size_t(y) * comp.h / size_t(hgt));
    return comp.data[sy * comp.w + sx];
  };
  const bool ycc = colour && im->color_space == OPJ_CLRSPC_SYCC;
  for (int y = 0; y < hgt; ++y) {
    uint8_t* o = img.row(y);
    for (int x = 0; x < w; ++x, o += 4) {
      if (colour) {
        uint8_t r = To8(sample(0, x, y), comps[0]), g = To8(sample(1, x, y), comps[1]), b = To8(sample(2, x, y), comps[2]);
        if (ycc) {
          const double Y = r, cb = g - 128.0, cr = b - 128.0;
          r = uint8_t(std::clamp(Y + 1.402 * cr + 0.5, 0.0, 255.0));
          g = uint8_t(std::clamp(Y - 0.344136 * cb - 0.714136 * cr + 0.5, 0.0, 255.0));
          b = uint8_t(std::clamp(Y + 1.772 * cb + 0.5, 0.0, 255.0));
        }
        o[0] = b, o[1] = g, o[2] = r;
      } else {
        o[0] = o[1] = o[2] = To8(sample(0, x, y), comps[0]);
      }
      o[3] = alphaIndex >= 0 ? To8(sample(alphaIndex, x, y), comps[alphaIndex]) : 255;
    }
  }
  if (img.hasAlpha()) SettleAlpha(img);
  return img;
}

}  // namespace zel::img::detail
