// The elements of a plot's SVG text, read back for tests: each element with its attributes,
// its text and the groups it lies in. Only what the plot writes: no comments, no CDATA.
#pragma once

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace plot_test {

struct SvgElement {
  std::string tag;
  std::map<std::string, std::string> attributes;
  std::string text;                 // of a <text>, unescaped
  std::vector<std::string> groups;  // "class:data-name" of each enclosing <g>, outermost first

  std::string attr(const std::string& name) const {
    const auto found = attributes.find(name);
    return found == attributes.end() ? std::string() : found->second;
  }
  double number(const std::string& name) const { return std::strtod(attr(name).c_str(), nullptr); }
  bool hasClass(const std::string& name) const { return (" " + attr("class") + " ").find(" " + name + " ") != std::string::npos; }
  bool inGroup(const std::string& role) const {
    for (const std::string& g : groups) {
      if (g.compare(0, role.size() + 1, role + ":") == 0) return true;
    }
    return false;
  }
  std::string groupName(const std::string& role) const {
    for (const std::string& g : groups) {
      if (g.compare(0, role.size() + 1, role + ":") == 0) return g.substr(role.size() + 1);
    }
    return {};
  }
};

inline std::string unescape(std::string text) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : kEntities) {
    for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::char_traits<char>::length(entity), plain);
    }
  }
  return text;
}

class SvgDocument {
 public:
  // A hand-written scanner: paths run to hundreds of kilobytes, too long for std::regex.
  explicit SvgDocument(const std::string& svg) {
    std::vector<std::string> groups;
    std::size_t at = 0;
    while ((at = svg.find('<', at)) != std::string::npos) {
      const std::size_t close = svg.find('>', at);
      if (close == std::string::npos) break;
      const std::string tag = svg.substr(at + 1, close - at - 1);
      at = close + 1;
      if (tag.empty() || tag[0] == '?') continue;
      if (tag[0] == '/') {
        if (tag == "/g" && !groups.empty()) groups.pop_back();
        continue;
      }
      const bool selfClosing = tag.back() == '/';
      SvgElement element;
      std::size_t i = tag.find_first_of(" \t\n/");
      element.tag = tag.substr(0, i);
      while (i != std::string::npos && (i = tag.find('=', i)) != std::string::npos) {
        const std::size_t nameStart = tag.rfind(' ', i) + 1;
        const std::size_t valueEnd = tag.find('"', i + 2);
        element.attributes[tag.substr(nameStart, i - nameStart)] = unescape(tag.substr(i + 2, valueEnd - i - 2));
        i = valueEnd + 1;
      }
      element.groups = groups;
      if (element.tag == "text") element.text = unescape(svg.substr(at, svg.find("</text>", at) - at));
      if (element.tag == "g" && !selfClosing) groups.push_back(element.attr("class") + ":" + element.attr("data-name"));
      elements.push_back(std::move(element));
    }
  }

  // The elements with this tag and class (any class when empty).
  std::vector<SvgElement> all(const std::string& tagName, const std::string& role = {}) const {
    std::vector<SvgElement> found;
    for (const SvgElement& e : elements) {
      if (e.tag == tagName && (role.empty() || e.hasClass(role))) found.push_back(e);
    }
    return found;
  }
  std::vector<std::string> texts(const std::string& role) const {
    std::vector<std::string> found;
    for (const SvgElement& e : all("text", role)) found.push_back(e.text);
    return found;
  }

  std::vector<SvgElement> elements;
};

// The points of a path's d attribute, and how many runs (M commands) it has.
struct PathPoints {
  std::vector<std::pair<double, double>> points;
  int runs = 0;
};

inline PathPoints pointsOf(const std::string& d) {
  PathPoints result;
  const char* p = d.c_str();
  while (*p == 'M' || *p == 'L') {
    if (*p == 'M') ++result.runs;
    char* end = nullptr;
    const double x = std::strtod(p + 1, &end);
    const double y = std::strtod(end, &end);
    result.points.emplace_back(x, y);
    p = end;
  }
  return result;
}

}  // namespace plot_test
