// The plot as SVG text: plain elements, each with a class saying what it is, so that a
// program can find the tracks, curves and labels again.
#include "Canvas.h"
#include "LogPlot.h"

#include <cstdio>

namespace kelwell::plot {
namespace {

void appendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:  // control characters have no place in XML text
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
}

void appendNumber(std::string& out, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  out += text;
}

void appendAttribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendEscaped(out, value);
  out += '"';
}

void appendAttribute(std::string& out, std::string_view name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendNumber(out, value);
  out += '"';
}

void appendStroke(std::string& out, const Stroke& stroke) {
  appendAttribute(out, "stroke", stroke.colour);
  appendAttribute(out, "stroke-width", stroke.width);
  if (stroke.dashed) out += " stroke-dasharray=\"8 4\"";
}

}  // namespace

SvgCanvas::SvgCanvas(Size size) {
  out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
  appendAttribute(out_, "width", size.width);
  appendAttribute(out_, "height", size.height);
  out_ += " viewBox=\"0 0 ";
  appendNumber(out_, size.width);
  out_ += ' ';
  appendNumber(out_, size.height);
  out_ += "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
}

void SvgCanvas::beginGroup(std::string_view role, std::string_view name, const Rect* clip) {
  std::string clipId;
  if (clip != nullptr) {
    clipId = "clip" + std::to_string(++clips_);
    out_ += "<clipPath id=\"" + clipId + "\"><rect";
    appendAttribute(out_, "x", clip->x);
    appendAttribute(out_, "y", clip->y);
    appendAttribute(out_, "width", clip->width);
    appendAttribute(out_, "height", clip->height);
    out_ += "/></clipPath>\n";
  }
  out_ += "<g";
  appendAttribute(out_, "class", role);
  if (!name.empty()) appendAttribute(out_, "data-name", name);
  if (!clipId.empty()) out_ += " clip-path=\"url(#" + clipId + ")\"";
  out_ += ">\n";
}

void SvgCanvas::endGroup() { out_ += "</g>\n"; }

void SvgCanvas::line(Point from, Point to, const Stroke& stroke, std::string_view role) {
  out_ += "<line";
  appendAttribute(out_, "class", role);
  appendAttribute(out_, "x1", from.x);
  appendAttribute(out_, "y1", from.y);
  appendAttribute(out_, "x2", to.x);
  appendAttribute(out_, "y2", to.y);
  appendStroke(out_, stroke);
  out_ += "/>\n";
}

void SvgCanvas::path(const std::vector<std::vector<Point>>& runs, const Stroke& stroke, std::string_view role,
                     std::string_view name) {
  out_ += "<path";
  appendAttribute(out_, "class", role);
  appendAttribute(out_, "data-curve", name);
  out_ += " fill=\"none\" stroke-linejoin=\"round\"";
  appendStroke(out_, stroke);
  out_ += " d=\"";
  for (const std::vector<Point>& run : runs) {
    for (std::size_t i = 0; i < run.size(); ++i) {
      out_ += i == 0 ? "M" : "L";
      appendNumber(out_, run[i].x);
      out_ += ' ';
      appendNumber(out_, run[i].y);
    }
  }
  out_ += "\"/>\n";
}

void SvgCanvas::rect(const Rect& area, const Stroke* stroke, std::string_view fill, std::string_view role) {
  out_ += "<rect";
  appendAttribute(out_, "class", role);
  appendAttribute(out_, "x", area.x);
  appendAttribute(out_, "y", area.y);
  appendAttribute(out_, "width", area.width);
  appendAttribute(out_, "height", area.height);
  appendAttribute(out_, "fill", fill.empty() ? std::string_view("none") : fill);
  if (stroke != nullptr) appendStroke(out_, *stroke);
  out_ += "/>\n";
}

void SvgCanvas::text(Point at, std::string_view text, const TextStyle& style, std::string_view role,
                     std::string_view name) {
  static constexpr std::string_view kAnchors[] = {"start", "middle", "end"};
  out_ += "<text";
  appendAttribute(out_, "class", role);
  if (!name.empty()) appendAttribute(out_, "data-name", name);
  appendAttribute(out_, "x", at.x);
  appendAttribute(out_, "y", at.y);
  appendAttribute(out_, "font-size", style.size);
  appendAttribute(out_, "text-anchor", kAnchors[static_cast<int>(style.anchor)]);
  appendAttribute(out_, "fill", style.colour);
  if (style.bold) out_ += " font-weight=\"bold\"";
  if (style.halo) out_ += " stroke=\"#ffffff\" stroke-width=\"3\" stroke-linejoin=\"round\" paint-order=\"stroke\"";
  out_ += '>';
  appendEscaped(out_, text);
  out_ += "</text>\n";
}

std::string SvgCanvas::finish() {
  out_ += "</svg>\n";
  return std::move(out_);
}

std::string renderSvg(const LogPlot& plot, const Layout& layout) {
  SvgCanvas canvas(sizeOf(plot, layout));
  draw(plot, layout, canvas);
  return canvas.finish();
}

}  // namespace kelwell::plot
