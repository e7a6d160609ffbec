#ifndef KEL_COLOR_H
#define KEL_COLOR_H

#include "kel_cppUtil.h"

// A colour: one of the named colours (CSS names, "red", "darkgreen", ...) or
// any "#rrggbb". Default-constructed it is black.
class kel_Color {
public:
  kel_Color();
  kel_Color(unsigned char red, unsigned char green, unsigned char blue);
  kel_Color(const kel_Color& other);
  kel_Color& operator=(const kel_Color& other);

  // By name (case-insensitive) or "#rrggbb"; kel_UserException naming the text otherwise.
  static kel_Color getColor(const char* name);
  // The colour's name when it has one, else "#rrggbb".
  kel_cppUtil::String getColorName() const;

  unsigned char getRed() const;
  unsigned char getGreen() const;
  unsigned char getBlue() const;
  bool operator==(const kel_Color& other) const;

private:
  unsigned char m_red, m_green, m_blue;
};

#endif
