// The plot as a PNG image, drawn by cairo on an image surface.
#include "Canvas.h"
#include "LogPlot.h"

#include <cairo.h>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace kelwell::plot {
namespace {

struct SurfaceRelease {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

class CairoCanvas : public Canvas {
 public:
  explicit CairoCanvas(cairo_t* cr) : cr_(cr) {
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  }

  void beginGroup(std::string_view, std::string_view, const Rect* clip) override {
    cairo_save(cr_);
    if (clip != nullptr) {
      cairo_rectangle(cr_, clip->x, clip->y, clip->width, clip->height);
      cairo_clip(cr_);
    }
  }
  void endGroup() override { cairo_restore(cr_); }

  void line(Point from, Point to, const Stroke& stroke, std::string_view) override {
    // Horizontal and vertical hairlines on pixel centres stay sharp instead of smearing over two rows.
    const bool straight = from.x == to.x || from.y == to.y;
    const double shift = straight && stroke.width <= 1.0 ? 0.5 : 0.0;
    cairo_move_to(cr_, std::round(from.x) + shift, std::round(from.y) + shift);
    cairo_line_to(cr_, std::round(to.x) + shift, std::round(to.y) + shift);
    applyStroke(stroke);
  }

  void path(const std::vector<std::vector<Point>>& runs, const Stroke& stroke, std::string_view,
            std::string_view) override {
    for (const std::vector<Point>& run : runs) {
      for (std::size_t i = 0; i < run.size(); ++i) {
        if (i == 0) {
          cairo_move_to(cr_, run[i].x, run[i].y);
        } else {
          cairo_line_to(cr_, run[i].x, run[i].y);
        }
      }
    }
    applyStroke(stroke);
  }

  void rect(const Rect& area, const Stroke* stroke, std::string_view fill, std::string_view) override {
    if (!fill.empty()) {
      cairo_rectangle(cr_, area.x, area.y, area.width, area.height);
      setColour(fill);
      cairo_fill(cr_);
    }
    if (stroke != nullptr) {
      cairo_rectangle(cr_, std::round(area.x) + 0.5, std::round(area.y) + 0.5, std::round(area.width),
                      std::round(area.height));
      applyStroke(*stroke);
    }
  }

  void text(Point at, std::string_view text, const TextStyle& style, std::string_view, std::string_view) override {
    const std::string utf8(text);
    cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, style.size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, utf8.c_str(), &extents);
    double x = at.x;
    if (style.anchor == Anchor::middle) x -= extents.x_advance / 2.0;
    if (style.anchor == Anchor::end) x -= extents.x_advance;
    cairo_move_to(cr_, x, at.y);
    if (style.halo) {
      cairo_text_path(cr_, utf8.c_str());
      cairo_set_source_rgb(cr_, 1.0, 1.0, 1.0);
      cairo_set_line_width(cr_, 3.0);
      cairo_set_dash(cr_, nullptr, 0, 0.0);
      cairo_stroke(cr_);
      cairo_move_to(cr_, x, at.y);
    }
    setColour(style.colour);
    cairo_show_text(cr_, utf8.c_str());
    cairo_new_path(cr_);
  }

 private:
  void setColour(std::string_view colour) {
    const Rgb rgb = rgbOf(colour);
    cairo_set_source_rgb(cr_, rgb.red, rgb.green, rgb.blue);
  }
  void applyStroke(const Stroke& stroke) {
    setColour(stroke.colour);
    cairo_set_line_width(cr_, stroke.width);
    static const double kDash[] = {8.0, 4.0};
    cairo_set_dash(cr_, kDash, stroke.dashed ? 2 : 0, 0.0);
    cairo_stroke(cr_);
  }

  cairo_t* cr_;
};

// Cairo's image surfaces end at 32767 pixels a side.
constexpr double kLargestSide = 32767.0;

}  // namespace

Rgb rgbOf(std::string_view colour) {
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (colour.size() != 7 || colour[0] != '#') return {};
  double parts[3];
  for (int i = 0; i < 3; ++i) {
    const int high = hex(colour[1 + 2 * i]);
    const int low = hex(colour[2 + 2 * i]);
    if (high < 0 || low < 0) return {};
    parts[i] = (high * 16 + low) / 255.0;
  }
  return {parts[0], parts[1], parts[2]};
}

std::string renderPng(const LogPlot& plot, const Layout& layout) {
  const Size size = sizeOf(plot, layout);
  if (size.width > kLargestSide || size.height > kLargestSide) {
    throw std::runtime_error("the plot (" + std::to_string(std::lround(size.width)) + " x " +
                             std::to_string(std::lround(size.height)) +
                             " pixels) is larger than a PNG image can be; plot fewer curves");
  }
  const Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(std::ceil(size.width)),
                                                   static_cast<int>(std::ceil(size.height))));
  const Context context(cairo_create(surface.get()));
  CairoCanvas canvas(context.get());
  draw(plot, layout, canvas);
  cairo_surface_flush(surface.get());
  cairo_status_t status = cairo_status(context.get());
  std::string png;
  if (status == CAIRO_STATUS_SUCCESS) {
    status = cairo_surface_write_to_png_stream(
        surface.get(),
        [](void* closure, const unsigned char* data, unsigned int length) {
          static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
          return CAIRO_STATUS_SUCCESS;
        },
        &png);
  }
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error(std::string("cannot draw the plot: ") + cairo_status_to_string(status));
  }
  return png;
}

}  // namespace kelwell::plot
