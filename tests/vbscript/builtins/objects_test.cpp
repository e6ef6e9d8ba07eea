// Engine and object functions: ScriptEngine versions, RGB, LoadPicture, locales.
#include "vbscript/builtins/builtin_test_support.h"

namespace sl::vbs::test {
namespace {

class ObjectsTest : public BuiltinTest {};

TEST_F(ObjectsTest, EngineIdentity) {
  EXPECT_EQ(Show("ScriptEngine"), "String VBScript");
  EXPECT_EQ(Show("ScriptEngineMajorVersion"), "Long 5");
  EXPECT_EQ(Show("ScriptEngineMinorVersion"), "Long 8");
  EXPECT_GT(Run("ScriptEngineBuildVersion").AsLong(), 0);
  EXPECT_EQ(Show("GetLocale"), "Long 1033");
  EXPECT_EQ(Show("SetLocale", {"fr-fr"}), "Long 1033");
  EXPECT_EQ(Show("GetLocale"), "Long 1033");
}

TEST_F(ObjectsTest, RgbPutsRedInTheLowByte) {
  EXPECT_EQ(Show("RGB", {I(255), I(0), I(0)}), "Long 255");
  EXPECT_EQ(Show("RGB", {I(1), I(2), I(3)}), "Long 197121");
  EXPECT_EQ(Show("RGB", {I(300), I(0), I(256)}), "Long 16711935");  // parts above 255 are 255
  EXPECT_EQ(Error("RGB", {I(-1), I(0), I(0)}), 5);
  EXPECT_EQ(Error("LoadPicture", {"a.bmp"}), 481);
}

}  // namespace
}  // namespace sl::vbs::test
