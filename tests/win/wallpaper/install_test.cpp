// Installing a wallpaper: the bitmap at the picture's own size, the desktop values per style.
#include "wallpaper_fixture.h"

namespace zel::test {
namespace {

class WallpaperInstall : public WallpaperTest {};

TEST_F(WallpaperInstall, WritesTheBitmapAtThePicturesSizeAndTheStyleValues) {
  auto& f = StartOnPage();
  EXPECT_EQ(f.wallpaper.cmbStyle.Items(), (std::vector<std::string>{"Center", "Tile", "Stretch", "(Auto Select)"}));
  EXPECT_EQ(f.wallpaper.cmbStyle.Text(), "(Auto Select)");
  struct Case {
    const char* name;
    int width, height, style;
    const char *tile, *wallpaperStyle;
  } cases[] = {
      {"wide.png", 1920, 1080, 3, "0", "2"},  {"banner.jpg", 1000, 400, 3, "1", "1"},
      {"half.gif", 1000, 500, 3, "0", "2"},   {"square.bmp", 300, 300, 3, "0", "2"},
      {"banner.bmp", 1000, 400, 0, "0", "0"}, {"wide.bmp", 1920, 1080, 1, "1", "1"},
      {"tall.png", 400, 1000, 2, "0", "2"},
  };
  for (const Case& c : cases) {
    std::string source = Picture(c.name, c.width, c.height);
    EXPECT_TRUE(f.wallpaper.ApplyWallpaper(source, uint8_t(c.style)));
    EXPECT_EQ(BitmapSize(wallpaper::kWallpaperFile), std::make_pair(c.width, c.height)) << c.name;
    EXPECT_EQ(Desktop("Wallpaper"), "C:\\Windows\\Zelvane-Wallpaper.bmp");
    EXPECT_EQ(Desktop("TileWallpaper"), c.tile) << c.name << " style " << c.style;
    EXPECT_EQ(Desktop("WallpaperStyle"), c.wallpaperStyle) << c.name << " style " << c.style;
  }
  // The bitmap is one that other readers take: the engine reads back what it wrote.
  EXPECT_EQ(img::Load(wallpaper::kWallpaperFile).width(), 400);
  EXPECT_TRUE(fakes.prompts.Errors().empty());
}

TEST_F(WallpaperInstall, APictureThatCannotBeReadLeavesTheLastWallpaperAndDoesNotFail) {
  std::string broken = pictures / "broken.jpg";
  WriteTextFile(broken, "not a picture");
  auto& f = StartOnPage();
  DeleteFileAt(wallpaper::kWallpaperFile);
  // Nothing converted yet: no bitmap to write; "(Auto Select)" stretches.
  EXPECT_TRUE(f.wallpaper.ApplyWallpaper(broken, 3));
  EXPECT_FALSE(FileExists(wallpaper::kWallpaperFile));
  EXPECT_EQ(Desktop("TileWallpaper"), "0");
  EXPECT_EQ(Desktop("WallpaperStyle"), "2");
  // After a narrow picture, an unreadable one keeps it installed, with its style.
  f.wallpaper.ApplyWallpaper(Picture("narrow.png", 900, 300), 3);
  EXPECT_TRUE(f.wallpaper.ApplyWallpaper(broken, 3));
  EXPECT_TRUE(f.wallpaper.ApplyWallpaper(pictures / "missing.png", 3));
  EXPECT_EQ(BitmapSize(wallpaper::kWallpaperFile), std::make_pair(900, 300));
  EXPECT_EQ(Desktop("TileWallpaper"), "1");
  EXPECT_EQ(Desktop("WallpaperStyle"), "1");
  EXPECT_TRUE(fakes.prompts.Errors().empty());
}

}  // namespace
}  // namespace zel::test
