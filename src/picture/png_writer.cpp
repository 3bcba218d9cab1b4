#include "picture/png_writer.h"

#include <spng.h>

#include <memory>
#include <vector>

#include "picture/file_helpers.h"
#include "picture/picture_writing.h"

namespace vemla {
namespace {

struct ContextFree {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

int toSink(spng_ctx*, void* user, void* data, std::size_t length) {
  const auto& sink = *static_cast<const ByteSink*>(user);
  return sink(data, length) ? 0 : SPNG_IO_ERROR;
}

bool encode(const ByteSink& sink, int width, int height, int bytesPerPixel,
            const std::uint8_t* pixels, const Palette* palette) {
  const std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!context) return false;
  spng_ctx* png = context.get();
  // The sink is only read through during this call.
  if (spng_set_png_stream(png, toSink, const_cast<ByteSink*>(&sink)) != 0) return false;

  const WrittenKind kind = writtenKind(bytesPerPixel, palette);
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(width);
  header.height = static_cast<std::uint32_t>(height);
  header.bit_depth = 8;
  header.color_type = kind == WrittenKind::Grey       ? SPNG_COLOR_TYPE_GRAYSCALE
                      : kind == WrittenKind::Paletted ? SPNG_COLOR_TYPE_INDEXED
                                                      : SPNG_COLOR_TYPE_TRUECOLOR;
  if (spng_set_ihdr(png, &header) != 0) return false;
  if (kind == WrittenKind::Paletted) {
    spng_plte entries{};
    entries.n_entries = 256;
    for (int i = 0; i < 256; ++i) {
      const PaletteColour colour = paletteColour(*palette, i);
      entries.entries[i] = {colour.red, colour.green, colour.blue, 0};
    }
    if (spng_set_plte(png, &entries) != 0) return false;
  }

  if (spng_encode_image(png, nullptr, 0, SPNG_FMT_PNG,
                        SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE) != 0) {
    return false;
  }
  const auto inRow = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
  std::vector<std::uint8_t> converted(kind == WrittenKind::Rgb ? std::size_t{3} * width : 0);
  int status = 0;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * inRow;
    if (kind == WrittenKind::Rgb) {
      rgbRow(row, bytesPerPixel, width, converted.data());
      status = spng_encode_row(png, converted.data(), converted.size());
    } else {
      status = spng_encode_row(png, row, inRow);
    }
    // The last row answers SPNG_EOI once the file is finished; any other answer is a failure.
    if (status != 0 && !(status == SPNG_EOI && y == height - 1)) return false;
  }
  return status == SPNG_EOI;
}

}  // namespace

int writePngPicture(const std::string& path, int width, int height, int bytesPerPixel,
                    const std::uint8_t* pixels, const Palette* palette) {
  if (!writableArguments(width, height, bytesPerPixel, pixels)) return -1;
  const auto produce = [&](const ByteSink& sink) {
    return encode(sink, width, height, bytesPerPixel, pixels, palette);
  };
  return writeFileAtomically(path, produce) ? 0 : -1;
}

}  // namespace vemla
