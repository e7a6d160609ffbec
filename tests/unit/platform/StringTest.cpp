// kel_String, the older text class: what applications of the earlier
// interface level do with it.
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "kel_String.h"
#include "kel_cppUtil.h"

TEST(OlderString, NullAndEmptyTextsAreTheSame) {
  const char* none = nullptr;
  const kel_String fromNull(none);
  EXPECT_STREQ("", static_cast<const char*>(fromNull));
  EXPECT_EQ(0u, fromNull.length());
  EXPECT_TRUE(fromNull == kel_String());
  EXPECT_TRUE(fromNull == none);
  kel_String text("abc");
  text += none;
  text = text + none;
  EXPECT_STREQ("abc", text.c_str());
  text = none;
  EXPECT_TRUE(text == "");
}

TEST(OlderString, ComparesByContent) {
  struct Case {
    const char* left;
    const char* right;
    bool equal;
    bool less;
  };
  const Case cases[] = {
      {"", "", true, false},       {"a", "", false, false},      {"", "a", false, true},
      {"abc", "abd", false, true}, {"abc", "abc", true, false},  {"abc", "ab", false, false},
      {"B", "a", false, true},     {"a\xC3\xA9", "a\xC3\xA9", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.left) + " / " + c.right);
    const kel_String left(c.left);
    const kel_String right(c.right);
    EXPECT_EQ(c.equal, left == right);
    EXPECT_EQ(c.equal, left == c.right);
    EXPECT_EQ(!c.equal, left != right);
    EXPECT_EQ(!c.equal, left != c.right);
    EXPECT_EQ(c.less, left < right);
    EXPECT_EQ(c.less, left < c.right);
  }
}

TEST(OlderString, ConcatenatesEveryWayRound) {
  const kel_String well("F/3");
  EXPECT_STREQ("F/3-2", (well + "-2").c_str());
  EXPECT_STREQ("well F/3", ("well " + well).c_str());
  EXPECT_STREQ("F/3F/3", (well + well).c_str());
  kel_String text(well);
  text += text;   // appending itself doubles it
  EXPECT_STREQ("F/3F/3", text.c_str());
  EXPECT_EQ(6u, text.length());
  EXPECT_STREQ("F/3", well.c_str());   // the copy was its own
}

TEST(OlderString, CopiesAndMovesKeepTheirOwnText) {
  kel_String original("North Sea");
  kel_String copy(original);
  copy += " South";
  EXPECT_STREQ("North Sea", original.c_str());
  kel_String assigned;
  assigned = copy;
  assigned = static_cast<const char*>(assigned) + 6;   // a pointer into itself
  EXPECT_STREQ("Sea South", assigned.c_str());
  EXPECT_STREQ("North Sea South", copy.c_str());
  const kel_String moved(std::move(copy));
  EXPECT_STREQ("North Sea South", moved.c_str());
  const kel_String& self = assigned;
  assigned = self;
  EXPECT_STREQ("Sea South", assigned.c_str());
}

TEST(OlderString, TakesThePlatformsTextsAndPrints) {
  const kel_cppUtil::String platformText("EpiWell_Well");
  const kel_String kept = platformText;
  EXPECT_STREQ("EpiWell_Well", kept.c_str());
  EXPECT_EQ(platformText.length(), kept.length());
  std::ostringstream out;
  out << kept << '|' << kel_String();
  EXPECT_EQ("EpiWell_Well|", out.str());

  // Mixed with the platform's texts, compared and joined either way round.
  EXPECT_TRUE(kept == platformText);
  EXPECT_FALSE(kept != platformText);
  EXPECT_TRUE(platformText == kept);
  EXPECT_TRUE(kel_String("EpiWell_A") < platformText);
  EXPECT_FALSE(kept < platformText);
  EXPECT_STREQ("id EpiWell_Well", (kel_String("id ") + platformText).c_str());
  kel_String joined("x");
  joined += platformText;
  EXPECT_STREQ("xEpiWell_Well", joined.c_str());
}
