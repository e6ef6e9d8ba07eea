// Enhanced metafiles whose record chain is broken are refused before conversion.
#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "picture_files.h"
#include "support/temp_folder.h"
#include "ui/draw/picture.h"

namespace sl::draw {
namespace {

int LoadError(const test::Bytes& bytes) {
  test::TempFolder dir("emf-records");
  test::WriteFile(dir / "x.emf", bytes);
  try {
    LoadPictureFile(dir / "x.emf");
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(EmfRecordsTest, BrokenRecordChainsAreInvalidPictures) {
  test::Bytes good = test::MakeEmf(40, 20, 0xFF);
  ASSERT_EQ(LoadError(good), 0);

  test::Bytes cut(good.begin(), good.end() - 10);  // ends inside the end-of-file record
  EXPECT_EQ(LoadError(cut), 481);

  test::Bytes oddSize = good;
  oddSize[88 + 4] = 13;  // first record after the header claims 13 bytes
  EXPECT_EQ(LoadError(oddSize), 481);

  test::Bytes huge = good;
  huge[88 + 7] = 0x7F;  // a record far longer than the file
  EXPECT_EQ(LoadError(huge), 481);

  test::Bytes noHeader = good;
  noHeader[0] = 2;
  EXPECT_EQ(LoadError(noHeader), 481);
}

}  // namespace
}  // namespace sl::draw
