// The "Drive" tab: the 26 letters read at start-up, SET under its silent guard, RESET of the
// whole key, and rows found by their letter after sorting.
#include "icons_fixture.h"

namespace zel::test {
namespace {

const std::string kD = std::string(icons::kDriveIconsKey) + "D";

class DriveIcons : public IconsFrame {
 protected:
  ScopedRegistryKey c{HKEY_LOCAL_MACHINE, std::string(icons::kDriveIconsKey) + "C"};
  ScopedRegistryKey d{HKEY_LOCAL_MACHINE, kD};
  icons::IconsPage& Start() {
    auto& p = Page(StartFrame());
    p.PageControl4.SetActivePage(1);
    return p;
  }
  static void Click(ui::Button& b) { SendMessageA(b.hwnd(), BM_CLICK, 0, 0); }
};

TEST_F(DriveIcons, StartUpListsTheLettersAToZWithTheirOverrides) {
  WriteLMString(std::string(icons::kDriveIconsKey) + "C\\DefaultLabel", "", "System");
  WriteLMString(std::string(icons::kDriveIconsKey) + "C\\DefaultIcon", "", "C:\\Icons\\c.ico");
  auto& p = Start();
  ASSERT_EQ(p.nxDrive.RowCount(), 26);
  EXPECT_EQ(p.nxDrive.Cell(0, 0), "A:");
  EXPECT_EQ(p.nxDrive.Cell(0, 25), "Z:");
  EXPECT_EQ(p.nxDrive.Cell(1, 2), "System");
  EXPECT_EQ(p.nxDrive.Cell(2, 2), "C:\\Icons\\c.ico");
  EXPECT_EQ(p.nxDrive.Cell(1, 3), "");
  EXPECT_EQ(p.nxDrive.Cell(2, 3), "");
}

TEST_F(DriveIcons, SetCreatesTheThreeKeysAndValuesForTheSelectedLetter) {
  auto& p = Start();
  Click(p.BitBtn18);   // nothing selected yet: nothing happens
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kD));

  p.nxDrive.SelectRow(p.nxDrive.FindRow(0, "D:"));
  EXPECT_EQ(p.icdLetter.Text(), "D:");
  p.icdLabel.SetText("Backup");
  p.icdLoc.SetText("C:\\Icons\\disk.ico,0");
  Click(p.BitBtn18);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kD));
  EXPECT_EQ(ReadLMString(kD + "\\DefaultLabel", ""), "Backup");
  EXPECT_EQ(ReadLMString(kD + "\\DefaultIcon", ""), "C:\\Icons\\disk.ico,0");
  int row = p.nxDrive.FindRow(0, "D:");
  EXPECT_EQ(p.nxDrive.Cell(1, row), "Backup");
  EXPECT_EQ(p.nxDrive.Cell(2, row), "C:\\Icons\\disk.ico,0");

  // An empty label is stored as an empty value; the override stays.
  p.icdLabel.SetText("");
  Click(p.BitBtn18);
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kD + "\\DefaultLabel", ""));
  EXPECT_EQ(p.nxDrive.Cell(1, row), "");
}

TEST_F(DriveIcons, SetSwallowsAStrictIndexErrorAfterWriting) {
  auto& p = Start();
  p.nxDrive.SelectRow(3);
  p.icdLoc.SetText("C:\\x.dll,1a");
  Click(p.BitBtn18);
  EXPECT_EQ(ReadLMString(kD + "\\DefaultIcon", ""), "C:\\x.dll,1a");
  EXPECT_EQ(p.nxDrive.Cell(2, 3), "C:\\x.dll,1a");
  EXPECT_TRUE(fakes.prompts.shown.empty());
}

TEST_F(DriveIcons, ResetRemovesTheWholeKeyOfTheLetterAfterSortingByLabel) {
  WriteLMString(kD + "\\DefaultLabel", "", "Backup");
  WriteLMString(kD + "\\DefaultIcon", "", "C:\\windows\\system32\\shell32.dll,8");
  WriteLMString(kD + "\\Extra\\Deeper", "x", "y");
  WriteLMString(kD, "Other", "z");
  auto& p = Start();
  p.nxDrive.ColumnClick(1);
  p.nxDrive.ColumnClick(1);   // "Label" descending: D ("Backup") comes first
  ASSERT_EQ(p.nxDrive.Cell(0, 0), "D:");
  p.nxDrive.SelectRow(0);
  EXPECT_EQ(p.icdLabel.Text(), "Backup");
  EXPECT_NE(p.Image4.Icon(), nullptr);
  HICON shown = p.Image4.Icon();

  Click(p.BitBtn19);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kD));
  int row = p.nxDrive.FindRow(0, "D:");
  EXPECT_EQ(p.nxDrive.Cell(1, row), "");
  EXPECT_EQ(p.nxDrive.Cell(2, row), "");
  // The boxes and the preview keep the old values until another row is selected.
  EXPECT_EQ(p.icdLabel.Text(), "Backup");
  EXPECT_EQ(p.Image4.Icon(), shown);
}

TEST_F(DriveIcons, BrowsePutsTheChosenFileIntoTheLocationBox) {
  auto& p = Start();
  p.nxDrive.SelectRow(4);
  std::string ico = appDir / "e.ico";
  WriteIcoFile(ico);
  fakes.prompts.openAnswers.push_back({ico});
  Click(p.icdBrowse);
  EXPECT_EQ(p.icdLoc.Text(), ico);
  EXPECT_NE(p.Image4.Icon(), nullptr);
  EXPECT_EQ(p.ICD.FileName, "");
  EXPECT_EQ(fakes.prompts.openSpecs.back().title, "Browse");
}

}  // namespace
}  // namespace zel::test
