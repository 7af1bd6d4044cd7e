#include "graphics/platform/text/raster_font.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_GASP_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_TRIGONOMETRY_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <list>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>

#include "graphics/platform/core/charset.h"
#include "graphics/platform/geometry/path.h"
#include "graphics/platform/raster/text_smoothing.h"
#include "graphics/platform/text/font_resolver.h"

namespace vx::gdi {
namespace {

constexpr int32_t kDefaultHeight = 16;          // lfHeight 0
constexpr int64_t kMaxPpem = (1 << 16) - 1;
constexpr int64_t kMaxGlyphPixels = 32 << 20;   // larger glyphs are not drawn
// Larger outline glyphs are not kept whole: a draw rasterises only the part
// its clip shows, so a glyph far larger than the page costs what it covers.
constexpr int64_t kWholeGlyphPixels = 1 << 20;
constexpr size_t kGlyphCacheBytes = 8 << 20;    // per font
constexpr size_t kAdvanceCacheEntries = 1 << 14;  // per font
constexpr size_t kFontCacheEntries = 64;

// One FreeType library for the process; creating and destroying faces goes
// through its lock, loading glyphs of different faces does not.
struct FreeTypeLibrary {
  FT_Library library = nullptr;
  std::mutex mutex;
  FreeTypeLibrary() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }
  ~FreeTypeLibrary() {
    if (library) FT_Done_FreeType(library);
  }
};

// Never destroyed: cached fonts may outlive every other static.
FreeTypeLibrary& Library() {
  static FreeTypeLibrary* instance = new FreeTypeLibrary;
  return *instance;
}

// A font file mapped read-only: FreeType touches only the tables and glyphs a
// page uses, so a large file costs little more than a small one.
class MappedFontFile {
public:
  static std::shared_ptr<const MappedFontFile> Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    void* bytes = MAP_FAILED;
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
      bytes = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);  // the mapping stays valid
    if (bytes == MAP_FAILED) return nullptr;
    return std::shared_ptr<const MappedFontFile>(
        new MappedFontFile(static_cast<const FT_Byte*>(bytes), static_cast<size_t>(info.st_size)));
  }
  ~MappedFontFile() { ::munmap(const_cast<FT_Byte*>(bytes_), size_); }
  MappedFontFile(const MappedFontFile&) = delete;
  MappedFontFile& operator=(const MappedFontFile&) = delete;

  const FT_Byte* data() const { return bytes_; }
  size_t size() const { return size_; }

private:
  MappedFontFile(const FT_Byte* bytes, size_t size) : bytes_(bytes), size_(size) {}
  const FT_Byte* bytes_;
  size_t size_;
};

using FileData = std::shared_ptr<const MappedFontFile>;

// Font files are mapped once and shared by every size made from them.
FileData LoadFontFile(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::string, FileData> files;
  std::lock_guard lock(mutex);
  if (auto it = files.find(path); it != files.end()) return it->second;
  FileData data = MappedFontFile::Open(path);
  if (!data) return nullptr;
  files.emplace(path, data);
  return data;
}

FT_Pos Floor64(FT_Pos v) { return v & -64; }
FT_Pos Ceil64(FT_Pos v) { return (v + 63) & -64; }

FT_Matrix Identity() { return {1 << 16, 0, 0, 1 << 16}; }

// b = a * b, FreeType's order.
void Multiply(const FT_Matrix& a, FT_Matrix& b) { FT_Matrix_Multiply(&a, &b); }

bool IsIdentity(const FT_Matrix& m) {
  return m.xx == (1 << 16) && m.xy == 0 && m.yx == 0 && m.yy == (1 << 16);
}

void SelectCharmap(FT_Face face, uint8_t charSet) {
  const FT_Encoding regular[] = {FT_ENCODING_UNICODE, FT_ENCODING_APPLE_ROMAN, FT_ENCODING_MS_SYMBOL};
  const FT_Encoding symbol[] = {FT_ENCODING_MS_SYMBOL, FT_ENCODING_UNICODE, FT_ENCODING_APPLE_ROMAN};
  for (FT_Encoding encoding : charSet == kSymbolCharset ? symbol : regular) {
    if (FT_Select_Charmap(face, encoding) == 0) return;
  }
  if (!face->charmap && face->num_charmaps > 0) FT_Set_Charmap(face, face->charmaps[0]);
}

}  // namespace

struct RasterFont::Impl {
  FileData file;
  FT_Face face = nullptr;
  std::string path;
  std::string family;
  int64_t ppem = 0;
  FT_Fixed emScale = 0;       // ppem / units per em, 16.16
  int32_t clipAscent = 0;     // glyphs are clipped to the cell
  int32_t clipDescent = 0;
  int32_t avgWidthUnits = 0;  // xAvgCharWidth
  bool fixedPitch = false;
  bool fakeBold = false;
  bool fakeItalic = false;
  bool transformed = false;
  FT_Matrix matrix = Identity();  // unrotated scale and slant, then rotation and world

  std::mutex mutex;  // the face's glyph slot and the cache
  std::unordered_map<uint64_t, std::shared_ptr<const GlyphBitmap>> glyphs;  // index, smoothed
  size_t cachedBytes = 0;
  std::unordered_map<uint64_t, Point> advances;  // same key; glyphs measured, not drawn
  std::unordered_map<uint64_t, Rect> boxes;      // same key; glyphs placed, not drawn

  ~Impl() {
    if (!face) return;
    std::lock_guard lock(Library().mutex);
    FT_Done_Face(face);
  }

  uint32_t IndexOf(char32_t ch) const;
  FT_Vector Advance(FT_Pos baseAdvance) const;
  bool Load(uint32_t glyphIndex, bool smoothed) const;
  // window: only those columns and rows of the glyph's bitmap (outline glyphs).
  std::shared_ptr<const GlyphBitmap> Render(uint32_t glyphIndex, bool smoothed, const Rect* window = nullptr) const;
  Point Measure(uint32_t glyphIndex, bool smoothed) const;
  FT_BBox BitmapBox() const;
  Rect Box(uint32_t glyphIndex, bool smoothed) const;
};

uint32_t RasterFont::Impl::IndexOf(char32_t ch) const {
  if (!face || !face->charmap) return 0;
  if (face->charmap->encoding == FT_ENCODING_MS_SYMBOL) {
    // Symbol fonts keep their characters at U+F0xx; some old ones at U+00xx.
    const char32_t symbol = ch < 0x100 ? ch + 0xF000 : ch;
    if (uint32_t index = FT_Get_Char_Index(face, symbol)) return index;
    return symbol >= 0xF000 ? FT_Get_Char_Index(face, symbol - 0xF000) : 0;
  }
  if (uint32_t index = FT_Get_Char_Index(face, ch)) return index;
  // Symbol-charset text (U+F0xx) in a face without a symbol table draws the
  // face's own characters for the low byte, as the platform's fallback does.
  return ch >= 0xF020 && ch <= 0xF0FF ? FT_Get_Char_Index(face, ch - 0xF000) : 0;
}

// The pen movement of a glyph in device pixels (FreeType's y up).
FT_Vector RasterFont::Impl::Advance(FT_Pos baseAdvance) const {
  FT_Vector advance{baseAdvance, 0};
  // A fixed-pitch font's full-width characters are exactly two cells wide.
  bool fullWidth = false;
  FT_Pos cell = 0;
  if (fixedPitch) {
    cell = FT_MulFix(avgWidthUnits, emScale);
    fullWidth = cell > 0 && (baseAdvance + 63) >> 6 == FT_MulFix(avgWidthUnits * 2, emScale);
    if (fullWidth && !transformed) advance.x = (cell * 2) << 6;
  }
  if (transformed) {
    FT_Vector_Transform(&advance, &matrix);
    if (fullWidth && advance.y == 0) {
      FT_Vector unit{avgWidthUnits, 0};
      FT_Vector_Transform(&unit, &matrix);
      advance.x = (FT_MulFix(unit.x, emScale) * 2) << 6;
    }
  }
  if (fakeBold) {
    if (!transformed) {
      advance.x += 1 << 6;
    } else {
      FT_Vector extra{1 << 6, 0};
      FT_Vector_Transform(&extra, &matrix);
      const FT_Fixed length = FT_Vector_Length(&extra);
      if (length) {
        advance.x += (extra.x << 6) / length;
        advance.y += (extra.y << 6) / length;
      }
    }
  }
  return {Ceil64(advance.x), -Ceil64(advance.y)};
}

// Loads and hints a glyph into the face's slot as it is drawn: the hinting
// target decides the advance as well as the shape.
bool RasterFont::Impl::Load(uint32_t glyphIndex, bool smoothed) const {
  if (!face) return false;
  FT_Int32 flags = FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | (smoothed ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
  if (transformed) flags |= FT_LOAD_NO_BITMAP;
  return FT_Load_Glyph(face, glyphIndex, flags | FT_LOAD_PEDANTIC) == 0 ||
         FT_Load_Glyph(face, glyphIndex, flags | FT_LOAD_NO_HINTING) == 0;
}

// The advance Render gives the glyph, without its bitmap.
Point RasterFont::Impl::Measure(uint32_t glyphIndex, bool smoothed) const {
  if (!Load(glyphIndex, smoothed)) return {};
  const FT_Vector advance = Advance(face->glyph->metrics.horiAdvance);
  return {static_cast<int32_t>(advance.x >> 6), static_cast<int32_t>(advance.y >> 6)};
}

// The pixels the loaded glyph's bitmap covers, in 26.6 pixels (y up): its
// hinted metrics (a synthesised bold grows the slot's outline first), cut to
// the font's cell.
FT_BBox RasterFont::Impl::BitmapBox() const {
  FT_GlyphSlot slot = face->glyph;
  FT_Glyph_Metrics metrics = slot->metrics;
  const bool outline = slot->format == FT_GLYPH_FORMAT_OUTLINE;

  if (fakeBold) {
    // Synthesised bold: the outline grows by 1/24 em, the pen by one pixel.
    if (outline && FT_Outline_Embolden(&slot->outline, FT_MulDiv(ppem, 1 << 6, 24)) == 0) {
      FT_BBox box;
      FT_Outline_Get_CBox(&slot->outline, &box);
      metrics.width = box.xMax - box.xMin;
      metrics.height = box.yMax - box.yMin;
      metrics.horiBearingX = box.xMin;
      metrics.horiBearingY = box.yMax;
    } else if (metrics.width) {
      metrics.width += 1 << 6;
    }
  }

  // Glyphs never reach beyond the font's cell.
  const FT_Pos top = std::min<FT_Pos>(metrics.horiBearingY, FT_Pos(clipAscent) << 6);
  const FT_Pos bottom =
      std::max<FT_Pos>(metrics.horiBearingY - metrics.height, -(FT_Pos(clipDescent) << 6));
  metrics.horiBearingY = top;
  metrics.height = top - bottom;

  FT_BBox box{};
  if (!transformed) {
    box.xMin = Floor64(metrics.horiBearingX);
    box.xMax = Ceil64(metrics.horiBearingX + metrics.width);
    box.yMax = Ceil64(metrics.horiBearingY);
    box.yMin = Floor64(metrics.horiBearingY - metrics.height);
  } else {
    for (int corner = 0; corner < 4; ++corner) {
      FT_Vector v{metrics.horiBearingX + (corner & 1) * metrics.width,
                  metrics.horiBearingY - (corner >> 1) * metrics.height};
      FT_Vector_Transform(&v, &matrix);
      if (corner == 0) {
        box = {v.x, v.y, v.x, v.y};
        continue;
      }
      box.xMin = std::min(box.xMin, v.x);
      box.xMax = std::max(box.xMax, v.x);
      box.yMin = std::min(box.yMin, v.y);
      box.yMax = std::max(box.yMax, v.y);
    }
    box = {Floor64(box.xMin), Floor64(box.yMin), Ceil64(box.xMax), Ceil64(box.yMax)};
  }
  return box;
}

Rect RasterFont::Impl::Box(uint32_t glyphIndex, bool smoothed) const {
  if (!Load(glyphIndex, smoothed)) return {};
  const FT_BBox box = BitmapBox();
  const int64_t width = (box.xMax - box.xMin) >> 6;
  const int64_t height = (box.yMax - box.yMin) >> 6;
  if (width <= 0 || height <= 0 || width * height > kMaxGlyphPixels) return {};
  const int32_t left = static_cast<int32_t>(box.xMin >> 6), top = static_cast<int32_t>(box.yMax >> 6);
  return {left, -top, left + static_cast<int32_t>(width), -top + static_cast<int32_t>(height)};
}

std::shared_ptr<const GlyphBitmap> RasterFont::Impl::Render(uint32_t glyphIndex, bool smoothed,
                                                             const Rect* window) const {
  auto glyph = std::make_shared<GlyphBitmap>();
  if (!Load(glyphIndex, smoothed)) return glyph;
  FT_GlyphSlot slot = face->glyph;
  const bool outline = slot->format == FT_GLYPH_FORMAT_OUTLINE;
  FT_BBox box = BitmapBox();

  const FT_Vector advance = Advance(slot->metrics.horiAdvance);
  glyph->advanceX = static_cast<int32_t>(advance.x >> 6);
  glyph->advanceY = static_cast<int32_t>(advance.y >> 6);
  glyph->left = static_cast<int32_t>(box.xMin >> 6);
  glyph->top = static_cast<int32_t>(box.yMax >> 6);

  int64_t width = (box.xMax - box.xMin) >> 6;
  int64_t height = (box.yMax - box.yMin) >> 6;
  if (width <= 0 || height <= 0 || width * height > kMaxGlyphPixels) return glyph;

  glyph->width = static_cast<int32_t>(width);
  glyph->height = static_cast<int32_t>(height);
  if (outline && window == nullptr && width * height > kWholeGlyphPixels) {
    glyph->withheld = true;
    return glyph;
  }
  if (outline && window != nullptr) {
    // The part: the outline moves by whole pixels so that the window's
    // bottom-left corner is the bitmap's, which scan-converts the same pixels.
    const int64_t first_column = std::clamp<int64_t>(window->left, 0, width);
    const int64_t end_column = std::clamp<int64_t>(window->right, first_column, width);
    const int64_t first_row = std::clamp<int64_t>(window->top, 0, height);
    const int64_t end_row = std::clamp<int64_t>(window->bottom, first_row, height);
    glyph->left += static_cast<int32_t>(first_column);
    glyph->top -= static_cast<int32_t>(first_row);
    glyph->width = static_cast<int32_t>(end_column - first_column);
    glyph->height = static_cast<int32_t>(end_row - first_row);
    if (glyph->IsEmpty()) return glyph;
    box.xMin += first_column << 6;
    box.yMin += (height - end_row) << 6;
    width = end_column - first_column;
    height = end_row - first_row;
  }
  if (smoothed && outline) {
    // Grey coverage, one byte a pixel, quantised to the levels drawn.
    glyph->pixels.assign(static_cast<size_t>(width * height), 0);
    FT_Bitmap bitmap;
    FT_Bitmap_Init(&bitmap);
    bitmap.width = static_cast<unsigned>(width);
    bitmap.rows = static_cast<unsigned>(height);
    bitmap.pitch = static_cast<int>(width);
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    bitmap.num_grays = 256;
    bitmap.buffer = glyph->pixels.data();
    if (transformed) FT_Outline_Transform(&slot->outline, &matrix);
    FT_Outline_Translate(&slot->outline, -box.xMin, -box.yMin);
    FT_Outline_Get_Bitmap(Library().library, &slot->outline, &bitmap);
    for (uint8_t& level : glyph->pixels) level = CoverageLevel(level);
    return glyph;
  }

  const int pitch = static_cast<int>(((width + 31) >> 5) << 2);
  std::vector<unsigned char> mono(static_cast<size_t>(pitch) * height);
  if (outline) {
    FT_Bitmap bitmap;
    FT_Bitmap_Init(&bitmap);
    bitmap.width = static_cast<unsigned>(width);
    bitmap.rows = static_cast<unsigned>(height);
    bitmap.pitch = pitch;
    bitmap.pixel_mode = FT_PIXEL_MODE_MONO;
    bitmap.num_grays = 2;
    bitmap.buffer = mono.data();
    if (transformed) FT_Outline_Transform(&slot->outline, &matrix);
    FT_Outline_Translate(&slot->outline, -box.xMin, -box.yMin);
    FT_Outline_Get_Bitmap(Library().library, &slot->outline, &bitmap);
  } else if (slot->format == FT_GLYPH_FORMAT_BITMAP &&
             slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
    // An embedded bitmap, drawn as it is (a synthesised bold smears it by a pixel).
    const int columns = std::min<int>(pitch, (slot->bitmap.width + 7) >> 3);
    const int rows = std::min<int>(static_cast<int>(height), slot->bitmap.rows);
    for (int y = 0; y < rows; ++y) {
      const unsigned char* src = slot->bitmap.buffer + static_cast<ptrdiff_t>(y) * slot->bitmap.pitch;
      unsigned char* dst = mono.data() + static_cast<size_t>(y) * pitch;
      for (int x = 0; x < columns; ++x) {
        dst[x] |= fakeBold ? static_cast<unsigned char>(src[x] | (src[x] >> 1)) : src[x];
        if (fakeBold && x + 1 < pitch) dst[x + 1] |= static_cast<unsigned char>(src[x] << 7);
      }
    }
  }

  glyph->pixels.resize(static_cast<size_t>(width * height));
  // An embedded bitmap drawn smoothed covers its pixels fully.
  const uint8_t ink = smoothed ? kFullCoverage : 1;
  // Eight pixels a byte: each byte of the mask spread into eight 0/1 bytes
  // and scaled by the ink at once (no byte carries into the next).
  static const std::array<std::array<uint8_t, 8>, 256> kSpread = [] {
    std::array<std::array<uint8_t, 8>, 256> t{};
    for (size_t b = 0; b < t.size(); ++b)
      for (size_t i = 0; i < 8; ++i) t[b][i] = uint8_t((b >> (7 - i)) & 1);
    return t;
  }();
  for (int64_t y = 0; y < height; ++y) {
    const unsigned char* row = mono.data() + y * pitch;
    uint8_t* out = glyph->pixels.data() + y * width;
    int64_t x = 0;
    for (; x + 8 <= width; x += 8) {
      uint64_t spread;
      std::memcpy(&spread, kSpread[row[x >> 3]].data(), sizeof spread);
      spread *= ink;
      std::memcpy(out + x, &spread, sizeof spread);
    }
    for (; x < width; ++x) out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) * ink;
  }
  return glyph;
}

// The face's gasp table decides per size whether glyphs may be grey (a face
// without one always may).
static bool GaspAllowsGrey(FT_Face face, int64_t ppem) {
  if (!face || ppem <= 0 || ppem > 0xFFFF) return true;
  const FT_Int flags = FT_Get_Gasp(face, static_cast<FT_UInt>(ppem));
  return flags == FT_GASP_NO_TABLE || (flags & FT_GASP_DO_GRAY) != 0;
}

// LOGFONT quality asking for bilevel glyphs whatever the surface; any other
// quality (antialiased and ClearType included) follows the gasp table.
constexpr uint8_t kNonAntialiasedQuality = 3;

RasterFont::RasterFont(std::unique_ptr<Impl> impl, const Metrics& metrics, const LogFont& request)
    : impl_(std::move(impl)),
      metrics_(metrics),
      underline_(request.underline),
      strikeOut_(request.strike_out),
      escapement_(request.escapement),
      smoothable_(request.quality != kNonAntialiasedQuality && GaspAllowsGrey(impl_->face, impl_->ppem)) {}
RasterFont::~RasterFont() = default;

uint32_t RasterFont::GlyphIndex(char32_t ch) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->IndexOf(ch);
}

std::shared_ptr<const GlyphBitmap> RasterFont::Glyph(char32_t ch, bool smoothed) const {
  return GlyphByIndex(GlyphIndex(ch), smoothed);
}

std::shared_ptr<const GlyphBitmap> RasterFont::GlyphByIndex(uint32_t glyphIndex, bool smoothed) const {
  Impl& impl = *impl_;
  std::lock_guard lock(impl.mutex);
  const uint64_t key = glyphIndex | (uint64_t(smoothed) << 32);
  if (auto it = impl.glyphs.find(key); it != impl.glyphs.end()) return it->second;
  std::shared_ptr<const GlyphBitmap> glyph = impl.Render(glyphIndex, smoothed);
  const size_t bytes = sizeof(GlyphBitmap) + glyph->pixels.size();
  if (impl.cachedBytes + bytes > kGlyphCacheBytes) {
    impl.glyphs.clear();
    impl.cachedBytes = 0;
  }
  impl.glyphs.emplace(key, glyph);
  impl.cachedBytes += bytes;
  return glyph;
}

std::shared_ptr<const GlyphBitmap> RasterFont::GlyphPartByIndex(uint32_t glyphIndex, bool smoothed,
                                                                const Rect& window) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->Render(glyphIndex, smoothed, &window);
}

Point RasterFont::Advance(char32_t ch, bool smoothed) const {
  return AdvanceByIndex(GlyphIndex(ch), smoothed);
}

Point RasterFont::AdvanceByIndex(uint32_t glyphIndex, bool smoothed) const {
  Impl& impl = *impl_;
  std::lock_guard lock(impl.mutex);
  const uint64_t key = glyphIndex | (uint64_t(smoothed) << 32);
  if (auto it = impl.advances.find(key); it != impl.advances.end()) return it->second;
  Point advance;
  if (auto it = impl.glyphs.find(key); it != impl.glyphs.end()) {
    advance = {it->second->advanceX, it->second->advanceY};
  } else {
    advance = impl.Measure(glyphIndex, smoothed);
  }
  if (impl.advances.size() >= kAdvanceCacheEntries) impl.advances.clear();
  impl.advances.emplace(key, advance);
  return advance;
}

Rect RasterFont::GlyphBoxByIndex(uint32_t glyphIndex, bool smoothed) const {
  Impl& impl = *impl_;
  std::lock_guard lock(impl.mutex);
  const uint64_t key = glyphIndex | (uint64_t(smoothed) << 32);
  if (auto it = impl.glyphs.find(key); it != impl.glyphs.end()) {
    const GlyphBitmap& g = *it->second;
    return g.IsEmpty() ? Rect{} : Rect{g.left, -g.top, g.left + g.width, -g.top + g.height};
  }
  if (auto it = impl.boxes.find(key); it != impl.boxes.end()) return it->second;
  const Rect box = impl.Box(glyphIndex, smoothed);
  if (impl.boxes.size() >= kAdvanceCacheEntries) impl.boxes.clear();
  impl.boxes.emplace(key, box);
  return box;
}

namespace {

// Collects FreeType's contours as path figures; quadratic pieces become the
// cubic Béziers that trace the same curve.
struct OutlineSink {
  GlyphOutline& out;
  PointF last{};

  static PointF Device(const FT_Vector* v) { return {v->x / 64.0, -v->y / 64.0}; }
  void Close() {
    if (!out.types.empty()) out.types.back() |= PT_CLOSEFIGURE;
  }
  void Add(PointF p, uint8_t type) {
    out.points.push_back(p);
    out.types.push_back(type);
    last = p;
  }
  static int MoveTo(const FT_Vector* to, void* user) {
    auto& sink = *static_cast<OutlineSink*>(user);
    sink.Close();
    sink.Add(Device(to), PT_MOVETO);
    return 0;
  }
  static int LineTo(const FT_Vector* to, void* user) {
    static_cast<OutlineSink*>(user)->Add(Device(to), PT_LINETO);
    return 0;
  }
  static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto& sink = *static_cast<OutlineSink*>(user);
    const PointF c = Device(control), e = Device(to), s = sink.last;
    sink.Add({s.x + (c.x - s.x) * 2 / 3, s.y + (c.y - s.y) * 2 / 3}, PT_BEZIERTO);
    sink.Add({e.x + (c.x - e.x) * 2 / 3, e.y + (c.y - e.y) * 2 / 3}, PT_BEZIERTO);
    sink.Add(e, PT_BEZIERTO);
    return 0;
  }
  static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto& sink = *static_cast<OutlineSink*>(user);
    sink.Add(Device(c1), PT_BEZIERTO);
    sink.Add(Device(c2), PT_BEZIERTO);
    sink.Add(Device(to), PT_BEZIERTO);
    return 0;
  }
};

}  // namespace

GlyphOutline RasterFont::OutlineByIndex(uint32_t glyphIndex, bool hinted) const {
  GlyphOutline outline;
  Impl& impl = *impl_;
  std::lock_guard lock(impl.mutex);
  if (!impl.face) return outline;
  FT_Int32 flags = FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_NO_BITMAP;
  if (!hinted) flags |= FT_LOAD_NO_HINTING;
  if (FT_Load_Glyph(impl.face, glyphIndex, flags) != 0) return outline;
  FT_GlyphSlot slot = impl.face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return outline;
  if (impl.fakeBold) FT_Outline_Embolden(&slot->outline, FT_MulDiv(impl.ppem, 1 << 6, 24));
  if (impl.transformed) FT_Outline_Transform(&slot->outline, &impl.matrix);
  OutlineSink sink{outline};
  const FT_Outline_Funcs funcs{&OutlineSink::MoveTo, &OutlineSink::LineTo, &OutlineSink::ConicTo,
                               &OutlineSink::CubicTo, 0, 0};
  if (FT_Outline_Decompose(&slot->outline, &funcs, &sink) != 0) return {};
  sink.Close();
  return outline;
}

const std::string& RasterFont::FilePath() const { return impl_->path; }
const std::string& RasterFont::FamilyName() const { return impl_->family; }

namespace {

// The em size GDI gives a height: negative = em size, positive = cell height.
int64_t PpemForHeight(FT_Face face, int64_t height) {
  if (height == 0) height = kDefaultHeight;
  if (height < 0) return height >= -kMaxPpem ? -height : 1;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  int64_t cell = 0;
  if (os2) cell = os2->usWinAscent + std::abs(static_cast<int16_t>(os2->usWinDescent));
  if (cell == 0 && hhea) cell = hhea->Ascender - hhea->Descender;
  if (cell == 0) cell = face->ascender - face->descender;
  if (cell <= 0) return -height;
  // MulDiv: rounded half away from zero.
  const int64_t ppem = (int64_t(face->units_per_EM) * height * 2 + cell) / (2 * cell);
  return std::clamp<int64_t>(ppem, 1, kMaxPpem);
}

RasterFont::Metrics ComputeMetrics(FT_Face face, FT_Fixed emScale, int64_t ppem, double widthRatio) {
  RasterFont::Metrics m;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  auto scale = [&](FT_Long units) { return static_cast<int32_t>(FT_MulFix(units, emScale)); };
  if (!os2 || !hhea) {
    // Not an sfnt: FreeType's own size metrics.
    m.ascent = static_cast<int32_t>(face->size->metrics.ascender >> 6);
    m.descent = static_cast<int32_t>(-face->size->metrics.descender >> 6);
    m.height = m.ascent + m.descent;
    m.internalLeading = m.height - static_cast<int32_t>(ppem);
    m.maxCharWidth = static_cast<int32_t>(face->size->metrics.max_advance >> 6);
    m.aveCharWidth = m.maxCharWidth * 2 / 3;
  } else {
    FT_Long ascent = os2->usWinAscent;
    FT_Long descent = std::abs(static_cast<int16_t>(os2->usWinDescent));
    if (ascent + descent == 0) {
      ascent = hhea->Ascender;
      descent = -hhea->Descender;
    }
    m.ascent = scale(ascent);
    m.descent = scale(descent);
    m.height = m.ascent + m.descent;
    m.internalLeading = scale(ascent + descent - face->units_per_EM);
    m.externalLeading = std::max(
        0, scale(hhea->Line_Gap - ((ascent + descent) - (hhea->Ascender - hhea->Descender))));
    m.aveCharWidth = std::max(1, scale(os2->xAvgCharWidth));
    m.maxCharWidth = scale(face->bbox.xMax - face->bbox.xMin);
    m.strikeoutPosition = scale(os2->yStrikeoutPosition);
    m.strikeoutThickness = scale(os2->yStrikeoutSize);
  }
  if (post) {
    m.underlinePosition = std::abs(scale(post->underlinePosition));
    m.underlineThickness = scale(post->underlineThickness);
  }
  m.underlineThickness = std::max(1, std::abs(m.underlineThickness));
  m.strikeoutThickness = std::max(1, std::abs(m.strikeoutThickness));
  m.strikeoutPosition = std::abs(m.strikeoutPosition);
  if (widthRatio != 1.0) {
    m.aveCharWidth = static_cast<int32_t>(std::lround(m.aveCharWidth * widthRatio));
    m.maxCharWidth = static_cast<int32_t>(std::lround(m.maxCharWidth * widthRatio));
  }
  return m;
}

FT_Fixed ToFixed(double value) { return static_cast<FT_Fixed>(value * 65536.0); }

struct FontRequest {
  LogFont font;
  int32_t height = 0;
  int32_t width = 0;
  XForm transform;
};

std::shared_ptr<const RasterFont> CreateRasterFont(const FontRequest& request) {
  auto impl = std::make_unique<RasterFont::Impl>();
  const ResolvedFace resolved = ResolveFontFace(request.font);
  impl->path = resolved.path;
  impl->family = resolved.family;
  if (!resolved.path.empty()) impl->file = LoadFontFile(resolved.path);
  FreeTypeLibrary& library = Library();
  if (impl->file && library.library) {
    std::lock_guard lock(library.mutex);
    if (FT_New_Memory_Face(library.library, impl->file->data(), static_cast<FT_Long>(impl->file->size()),
                           resolved.index, &impl->face) != 0) {
      impl->face = nullptr;
    }
  }
  FT_Face face = impl->face;
  if (!face || !FT_IS_SCALABLE(face))
    return std::make_shared<RasterFont>(std::move(impl), RasterFont::Metrics{}, request.font);

  const LogFont& font = request.font;
  impl->ppem = PpemForHeight(face, request.height);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(impl->ppem));
  SelectCharmap(face, font.char_set);
  impl->emScale = FT_MulDiv(impl->ppem, 1 << 16, face->units_per_EM);
  // The file's own style decides what is synthesised (fontconfig reports a
  // style it would synthesise itself as if the file had it).
  impl->fakeBold = font.weight > 550 && !(face->style_flags & FT_STYLE_FLAG_BOLD);
  impl->fakeItalic = font.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
  impl->fixedPitch = FT_IS_FIXED_WIDTH(face) || resolved.monospaced;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)))
    impl->avgWidthUnits = os2->xAvgCharWidth;

  const RasterFont::Metrics base = ComputeMetrics(face, impl->emScale, impl->ppem, 1.0);
  impl->clipAscent = base.ascent;
  impl->clipDescent = base.descent;

  // Horizontal scale: the requested average width over the natural one.
  const int64_t width = std::llabs(static_cast<int64_t>(request.width));
  const double widthRatio = width != 0 ? double(width) / base.aveCharWidth : 1.0;
  FT_Matrix matrix = Identity();
  if (widthRatio != 1.0) Multiply({ToFixed(widthRatio), 0, 0, 1 << 16}, matrix);
  if (impl->fakeItalic) Multiply({1 << 16, (1 << 16) >> 2, 0, 1 << 16}, matrix);
  if (font.escapement % 3600 != 0) {
    FT_Vector unit;
    FT_Vector_Unit(&unit, FT_MulDiv(1 << 16, font.escapement, 10));
    Multiply({unit.x, -unit.y, unit.y, unit.x}, matrix);
  }
  const XForm& t = request.transform;
  if (!(t.m11 == 1 && t.m12 == 0 && t.m21 == 0 && t.m22 == 1)) {
    // Device space is y down, FreeType's y up.
    Multiply({ToFixed(t.m11), -ToFixed(t.m21), -ToFixed(t.m12), ToFixed(t.m22)}, matrix);
  }
  impl->matrix = matrix;
  impl->transformed = !IsIdentity(matrix);

  const RasterFont::Metrics metrics = ComputeMetrics(face, impl->emScale, impl->ppem, widthRatio);
  return std::make_shared<RasterFont>(std::move(impl), metrics, font);
}

// The quality is part of the key: it decides whether the glyphs may be grey;
// so is the face file: the character set can decide it.
using CacheKey = std::tuple<std::u16string, int32_t, int32_t, int32_t, int32_t, bool, bool, bool,
                            bool, uint8_t, uint8_t, double, double, double, double, std::string, int>;

CacheKey KeyOf(const FontRequest& r) {
  const ResolvedFace resolved = ResolveFontFace(r.font);
  std::u16string face = r.font.face_name.substr(0, r.font.face_name.find(u'\0'));
  for (char16_t& c : face) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return {face, r.height, r.width, r.font.escapement, r.font.weight > 550 ? 700 : 400,
          r.font.italic, r.font.underline, r.font.strike_out, r.font.char_set == kSymbolCharset,
          r.font.pitch_and_family, r.font.quality, r.transform.m11, r.transform.m12, r.transform.m21,
          r.transform.m22, resolved.path, resolved.index};
}

}  // namespace

std::shared_ptr<const RasterFont> GetRasterFont(const LogFont& font, int32_t deviceHeight,
                                                int32_t deviceWidth, const XForm* glyphTransform) {
  FontRequest request{font, deviceHeight, deviceWidth, {}};
  if (glyphTransform) {
    request.transform = *glyphTransform;
    request.transform.dx = request.transform.dy = 0;
  }
  const CacheKey key = KeyOf(request);

  static std::mutex mutex;
  // Front = most recently used. Never destroyed, like the library it needs.
  static auto& recent = *new std::list<std::pair<CacheKey, std::shared_ptr<const RasterFont>>>;
  std::lock_guard lock(mutex);
  for (auto it = recent.begin(); it != recent.end(); ++it) {
    if (it->first != key) continue;
    recent.splice(recent.begin(), recent, it);
    return it->second;
  }
  auto created = CreateRasterFont(request);
  recent.emplace_front(key, created);
  if (recent.size() > kFontCacheEntries) recent.pop_back();
  return created;
}

}  // namespace vx::gdi
