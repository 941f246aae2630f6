// Category list files, the dropped-picture rule and the wallpaper style rule.
#include <gtest/gtest.h>

#include "wallpaper/category_file.h"
#include "wallpaper/style_rule.h"

namespace zel::wallpaper {
namespace {

TEST(CategoryList, ReadsAnyLineEndsSortedWithoutEmptyLinesOrRepeats) {
  CategoryList list;
  list.LoadFromText("D:\\pics\\b.jpg\nc:\\Z.png\r\n\r\nC:\\a_b.jpg\rC:\\aB.jpg\n   \nd:\\PICS\\B.JPG\nC:\\a\\x.gif");
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\a\\x.gif", "C:\\a_b.jpg", "C:\\aB.jpg", "c:\\Z.png",
                                                    "D:\\pics\\b.jpg"}));
  // Written back: sorted, CR LF after every line including the last.
  EXPECT_EQ(list.SaveToText(), "C:\\a\\x.gif\r\nC:\\a_b.jpg\r\nC:\\aB.jpg\r\nc:\\Z.png\r\nD:\\pics\\b.jpg\r\n");
  CategoryList again;
  again.LoadFromText(list.SaveToText());
  EXPECT_EQ(again.Items(), list.Items());
  // An empty category is an empty file.
  list.LoadFromText("\r\n\n");
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.SaveToText(), "");
}

TEST(CategoryList, AddsInSortedPlaceAndRefusesAPathInOtherLetterCase) {
  CategoryList list;
  EXPECT_TRUE(list.Add("C:\\m.jpg"));
  EXPECT_TRUE(list.Add("C:\\Z.jpg"));
  EXPECT_TRUE(list.Add("c:\\a.jpg"));
  EXPECT_FALSE(list.Add("C:\\M.JPG"));
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"c:\\a.jpg", "C:\\m.jpg", "C:\\Z.jpg"}));
  EXPECT_EQ(list.IndexOf("c:\\z.JPG"), 2);
  EXPECT_EQ(list.IndexOf("C:\\b.jpg"), -1);
  EXPECT_EQ(list.IndexOf(""), -1);
  list.Delete(1);
  list.Delete(7);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"c:\\a.jpg", "C:\\Z.jpg"}));
}

TEST(DroppedPicture, TakesTheSeventeenExtensionsInAnyLetterCase) {
  EXPECT_EQ(DroppedPictureExtensions().size(), 17u);
  for (const std::string& ext : DroppedPictureExtensions()) EXPECT_TRUE(IsDroppedPicture("C:\\p\\x" + ext)) << ext;
  struct Case {
    const char* path;
    bool taken;
  } cases[] = {{"C:\\p\\Photo.JPG", true}, {"C:\\p\\a.TiFf", true},   {"C:\\p\\scan.tif", false},
               {"C:\\p\\a.jp2", false},    {"C:\\p\\a.webp", false},  {"C:\\p\\noext", false},
               {"C:\\p.png\\folder", false}, {"C:\\p\\folder.png", true}, {"C:\\p\\a.jpg.txt", false}};
  for (const Case& c : cases) EXPECT_EQ(IsDroppedPicture(c.path), c.taken) << c.path;
}

TEST(CategoryName, MustStayInsideTheCategoryFolder) {
  EXPECT_TRUE(IsPlainCategoryName("Nature"));
  EXPECT_TRUE(IsPlainCategoryName(" Cats & Dogs. "));
  EXPECT_TRUE(IsPlainCategoryName(""));
  EXPECT_FALSE(IsPlainCategoryName("..\\..\\Windows\\x"));
  EXPECT_FALSE(IsPlainCategoryName("a/b"));
  EXPECT_FALSE(IsPlainCategoryName("C:x"));
}

TEST(WallpaperStyle, AutoSelectStretchesFromHalfAndTilesNarrowerPictures) {
  struct Case {
    int index, width, height, style;
  } cases[] = {
      {kStyleAutoSelect, 1920, 1080, kStyleStretch}, {kStyleAutoSelect, 1000, 400, kStyleTile},
      {kStyleAutoSelect, 1000, 500, kStyleStretch},  {kStyleAutoSelect, 499, 1000, kStyleTile},
      {kStyleAutoSelect, 500, 1000, kStyleStretch},  {kStyleAutoSelect, 640, 640, kStyleStretch},
      {kStyleAutoSelect, 0, 0, kStyleStretch},       {kStyleAutoSelect, 0, 300, kStyleStretch},
      {kStyleCenter, 1000, 400, kStyleCenter},       {kStyleTile, 1920, 1080, kStyleTile},
      {kStyleStretch, 1000, 400, kStyleStretch},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResolveWallpaperStyle(c.index, c.width, c.height), c.style) << c.index << " " << c.width << "x" << c.height;
  EXPECT_STREQ(TileWallpaperValue(kStyleCenter), "0");
  EXPECT_STREQ(TileWallpaperValue(kStyleTile), "1");
  EXPECT_STREQ(TileWallpaperValue(kStyleStretch), "0");
}

}  // namespace
}  // namespace zel::wallpaper
