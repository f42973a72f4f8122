// PNG decoding and encoding over the GDI+ flat API: decoding from a stream on global memory,
// encoding with the "image/png" encoder.
#include "png_codec.h"

// GDI+'s headers need these two first, in this order.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "wide_text.h"

namespace orelog {

namespace gp = Gdiplus;
namespace gpflat = Gdiplus::DllExports;

namespace {

// A larger picture is refused before its pixels are copied; the sheets hold 1024 x 1024.
constexpr uint64_t kMaxDecodedPixels = uint64_t{1} << 24;
constexpr std::wstring_view kPngMimeType = L"image/png";
constexpr unsigned kOpaque = 255;

class GdiplusSession {
 public:
  GdiplusSession() {
    gp::GdiplusStartupInput input;  // version 1, no debug callback, no suppressed thread or codecs
    started_ = gp::GdiplusStartup(&token_, &input, nullptr) == gp::Ok;
  }
  ~GdiplusSession() {
    if (started_) gp::GdiplusShutdown(token_);
  }
  bool started() const { return started_; }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

struct ImageDisposer {
  void operator()(gp::GpBitmap* bitmap) const { gpflat::GdipDisposeImage(bitmap); }
};
using BitmapHandle = std::unique_ptr<gp::GpBitmap, ImageDisposer>;

struct StreamReleaser {
  void operator()(IStream* stream) const { stream->Release(); }
};

// A read stream over a copy of the bytes; the stream frees the copy when released.
std::unique_ptr<IStream, StreamReleaser> streamOver(std::span<const uint8_t> bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) return nullptr;
  void* locked = GlobalLock(memory);
  if (locked == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(locked, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
    GlobalFree(memory);
    return nullptr;
  }
  return std::unique_ptr<IStream, StreamReleaser>(stream);
}

// Transparent pixels (the sheets have none) are composited onto white, the sheets' empty colour.
Pixel onWhite(uint32_t argb) {
  const unsigned alpha = argb >> 24;
  const auto channel = [alpha](unsigned value) {
    return static_cast<uint8_t>((value * alpha + kOpaque * (kOpaque - alpha) + kOpaque / 2) / kOpaque);
  };
  return rgb(channel(red(argb)), channel(green(argb)), channel(blue(argb)));
}

std::optional<Image> copyPixels(gp::GpBitmap* bitmap, UINT width, UINT height) {
  gp::Rect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  gp::BitmapData data{};
  if (gpflat::GdipBitmapLockBits(bitmap, &whole, gp::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
      gp::Ok)
    return std::nullopt;
  Image image{static_cast<int>(width), static_cast<int>(height),
              std::vector<Pixel>(std::size_t{width} * height)};
  for (UINT y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(data.Scan0) + y * data.Stride);
    for (UINT x = 0; x < width; ++x) image.pixels[std::size_t{y} * width + x] = onWhite(row[x]);
  }
  gpflat::GdipBitmapUnlockBits(bitmap, &data);
  return image;
}

std::optional<CLSID> pngEncoder() {
  UINT count = 0, bytes = 0;
  if (gpflat::GdipGetImageEncodersSize(&count, &bytes) != gp::Ok || count == 0) return std::nullopt;
  std::vector<uint8_t> storage(bytes);
  auto* encoders = reinterpret_cast<gp::ImageCodecInfo*>(storage.data());
  if (gpflat::GdipGetImageEncoders(count, bytes, encoders) != gp::Ok) return std::nullopt;
  for (UINT i = 0; i < count; ++i) {
    if (encoders[i].MimeType != nullptr && kPngMimeType == encoders[i].MimeType) return encoders[i].Clsid;
  }
  return std::nullopt;
}

}  // namespace

bool startGdiplus() {
  static const GdiplusSession session;
  return session.started();
}

std::optional<Image> decodePngBytes(std::span<const uint8_t> bytes) {
  if (bytes.empty() || !startGdiplus()) return std::nullopt;
  auto stream = streamOver(bytes);
  if (!stream) return std::nullopt;
  gp::GpBitmap* decoded = nullptr;
  if (gpflat::GdipCreateBitmapFromStream(stream.get(), &decoded) != gp::Ok || decoded == nullptr)
    return std::nullopt;
  const BitmapHandle bitmap(decoded);
  UINT width = 0, height = 0;
  gpflat::GdipGetImageWidth(bitmap.get(), &width);
  gpflat::GdipGetImageHeight(bitmap.get(), &height);
  const uint64_t pixels = uint64_t{width} * height;
  if (pixels == 0 || pixels > kMaxDecodedPixels) return std::nullopt;
  return copyPixels(bitmap.get(), width, height);
}

// Writes to a fresh file next to the target, then moves it over the target, so a failed write
// never leaves a half-written picture under the chosen name.
bool writePngFile(const Canvas& canvas, const std::string& path) {
  if (canvas.pixels == nullptr || canvas.width <= 0 || canvas.height <= 0 || path.empty()) return false;
  const std::optional<CLSID> found = startGdiplus() ? pngEncoder() : std::nullopt;
  if (!found) return false;
  const CLSID encoder = *found;
  std::vector<Pixel> rows(static_cast<std::size_t>(canvas.width) * canvas.height);
  for (int y = 0; y < canvas.height; ++y)
    std::memcpy(&rows[static_cast<std::size_t>(y) * canvas.width],
                canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride, canvas.width * sizeof(Pixel));
  gp::GpBitmap* created = nullptr;
  if (gpflat::GdipCreateBitmapFromScan0(canvas.width, canvas.height,
                                        canvas.width * static_cast<INT>(sizeof(Pixel)), PixelFormat32bppRGB,
                                        reinterpret_cast<BYTE*>(rows.data()), &created) != gp::Ok)
    return false;
  const BitmapHandle bitmap(created);
  const std::wstring target = wideFromUtf8(path);
  const std::wstring partial = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".part";
  if (gpflat::GdipSaveImageToFile(bitmap.get(), partial.c_str(), &encoder, nullptr) == gp::Ok &&
      MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileW(partial.c_str());
  return false;
}

}  // namespace orelog
