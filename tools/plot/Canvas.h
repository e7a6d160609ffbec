// The drawing surface the log plot is laid out on once, for SVG text and for cairo's PNG
// alike. Coordinates are pixels from the top left corner. A role says what an element is
// (the SVG class); cairo has no use for it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelwell::plot {

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Rect {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

struct Stroke {
  std::string_view colour = "#000000";  // "#rrggbb"
  double width = 1.0;
  bool dashed = false;
};

enum class Anchor { start, middle, end };

struct TextStyle {
  double size = 11.0;
  Anchor anchor = Anchor::start;
  std::string_view colour = "#000000";
  bool bold = false;
  bool halo = false;  // a white outline, so that the text reads over curves and grid lines
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Groups nest; everything drawn inside a group with a clip stays within the clip.
  virtual void beginGroup(std::string_view role, std::string_view name, const Rect* clip = nullptr) = 0;
  virtual void endGroup() = 0;

  virtual void line(Point from, Point to, const Stroke& stroke, std::string_view role) = 0;
  // One stroked line through each run of points; the breaks between runs are gaps.
  virtual void path(const std::vector<std::vector<Point>>& runs, const Stroke& stroke, std::string_view role,
                    std::string_view name) = 0;
  // fill empty: not filled.
  virtual void rect(const Rect& area, const Stroke* stroke, std::string_view fill, std::string_view role) = 0;
  // at is the text's baseline point, placed by the anchor.
  virtual void text(Point at, std::string_view text, const TextStyle& style, std::string_view role,
                    std::string_view name = {}) = 0;
};

// The plot's total size for a layout, and drawing it onto a canvas of that size.
struct Size {
  double width = 0.0;
  double height = 0.0;
};

struct LogPlot;
struct Layout;

Size sizeOf(const LogPlot& plot, const Layout& layout);
void draw(const LogPlot& plot, const Layout& layout, Canvas& canvas);

// Round numbers for scale ends and axis ticks: the smallest 1, 2 or 5 times a power of ten
// not below x (1 for anything not above 0).
double niceStep(double x);

// "#rrggbb" as red, green and blue in [0, 1]; black for anything else.
struct Rgb {
  double red = 0.0;
  double green = 0.0;
  double blue = 0.0;
};
Rgb rgbOf(std::string_view colour);

// The SVG canvas: elements appended to text, closed by finish().
class SvgCanvas : public Canvas {
 public:
  explicit SvgCanvas(Size size);
  void beginGroup(std::string_view role, std::string_view name, const Rect* clip) override;
  void endGroup() override;
  void line(Point from, Point to, const Stroke& stroke, std::string_view role) override;
  void path(const std::vector<std::vector<Point>>& runs, const Stroke& stroke, std::string_view role,
            std::string_view name) override;
  void rect(const Rect& area, const Stroke* stroke, std::string_view fill, std::string_view role) override;
  void text(Point at, std::string_view text, const TextStyle& style, std::string_view role,
            std::string_view name) override;
  std::string finish();

 private:
  std::string out_;
  int clips_ = 0;
};

}  // namespace kelwell::plot
