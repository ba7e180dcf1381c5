// Version text, single-number form, and the refusal of versions that form cannot hold.
#include <gtest/gtest.h>

#include "core/version.h"
#include "version_config.h"

namespace tkd {
namespace {

TEST(Version, TextAndNumber) {
  EXPECT_EQ(VersionText({1, 4, 6}), "V1.4.6");
  EXPECT_EQ(VersionNumber({1, 4, 6}), 146);
  EXPECT_EQ(VersionText({12, 0, 9}), "V12.0.9");
  EXPECT_EQ(VersionNumber({12, 0, 9}), 1209);
}

TEST(Version, MinorOrRevisionAboveNineNeedsAdjusting) {
  struct Case { ProgramVersion v; bool adjust; };
  const Case cases[] = {{{1, 9, 9}, false}, {{1, 10, 0}, true}, {{1, 0, 10}, true},
                        {{99, 0, 0}, false}, {{1, 4, 6}, false}};
  for (const auto& c : cases)
    EXPECT_EQ(VersionNeedsAdjusting(c.v), c.adjust) << VersionText(c.v);
}

TEST(Version, BuildVersionComesFromTheProjectVersion) {
  const ProgramVersion v = BuildVersion();
  EXPECT_EQ(VersionText(v), std::string("V") + TKD_VERSION_STRING);
  EXPECT_FALSE(VersionNeedsAdjusting(v));
}

}  // namespace
}  // namespace tkd
