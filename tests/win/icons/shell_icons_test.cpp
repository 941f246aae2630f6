// The "Shell32.dll" tab: the 306 slots read at start-up, selection with both previews, SET,
// RESET and browsing, and start-up going on after a value of the wrong type.
#include "icons_fixture.h"

namespace zel::test {
namespace {

using icons::kShellIconsKey;

class ShellIcons : public IconsFrame {
 protected:
  ScopedRegistryKey key{HKEY_LOCAL_MACHINE, kShellIconsKey};
  static void Click(ui::Button& b) { SendMessageA(b.hwnd(), BM_CLICK, 0, 0); }
  static std::string Shell32() { return WindowsDir() + "\\System32\\shell32.dll"; }
};

TEST_F(ShellIcons, StartUpListsThe306SlotsWithNamesAndStoredOverrides) {
  WriteLMString(kShellIconsKey, "4", "C:\\Icons\\open.ico,0");
  WriteLMString(kShellIconsKey, "400", "beyond the slots");
  auto& p = Page(StartFrame());
  ASSERT_EQ(p.nxShell.RowCount(), 306);
  struct Row {
    int row;
    const char *index, *label, *location;
  } rows[] = {{0, "0", "Default File", ""},   {4, "4", "Open Folder", "C:\\Icons\\open.ico,0"},
              {9, "9", "", ""},               {32, "32", "Recycle Bin Full", ""},
              {76, "76", "Live Folder Front (Win 7)", ""}, {305, "305", "", ""}};
  for (const auto& r : rows) {
    EXPECT_EQ(p.nxShell.Cell(0, r.row), r.index);
    EXPECT_EQ(p.nxShell.Cell(1, r.row), r.label);
    EXPECT_EQ(p.nxShell.Cell(2, r.row), r.location);
  }
  EXPECT_FALSE(p.nxShell.Updating());
  EXPECT_TRUE(fakes.prompts.Errors().empty());
}

TEST_F(ShellIcons, AStringSlotOfTheWrongTypeStopsTheFillingButNotTheStartUp) {
  WriteLMString(kShellIconsKey, "3", "C:\\x.dll,1");
  WriteDword(HKEY_LOCAL_MACHINE, kShellIconsKey, "12", 7);
  ScopedRegistryKey drive{HKEY_LOCAL_MACHINE, std::string(icons::kDriveIconsKey) + "C"};
  WriteLMString(std::string(icons::kDriveIconsKey) + "C\\DefaultLabel", "", "System");
  auto& f = StartFrame();
  EXPECT_EQ(fakes.prompts.Errors(), std::vector<std::string>{"Invalid data type for '12'"});
  // The rows before the slot stay, and the grid paints again.
  ASSERT_EQ(f.icons.nxShell.RowCount(), 12);
  EXPECT_EQ(f.icons.nxShell.Cell(2, 3), "C:\\x.dll,1");
  EXPECT_FALSE(f.icons.nxShell.Updating());
  // The rest of the guarded start-up block is skipped (the drive grid among it) ...
  EXPECT_EQ(f.icons.nxDrive.RowCount(), 0);
  EXPECT_FALSE(f.DoubleBuffered());
  // ... while the steps after it still run.
  EXPECT_EQ(f.side.title.Text(), "Zelvane");
  EXPECT_EQ(f.capture.UndoLimit(), 50);
  std::string home = f.side.btnHome.helpKeyword;
  EXPECT_TRUE(home == app::HomeAddresses[0] || home == app::HomeAddresses[1]) << home;
  EXPECT_TRUE(IsWindowVisible(f.hwnd()));
}

TEST_F(ShellIcons, SelectingASlotFillsTheBoxesAndPreviewsBeforeAndAfter) {
  WriteLMString(kShellIconsKey, "3", Shell32() + ",3");
  WriteLMString(kShellIconsKey, "5", "C:\\x.dll, 3");
  WriteLMString(kShellIconsKey, "6", "shell32.dll,3,4");
  auto& p = Page(StartFrame());

  p.nxShell.SelectRow(p.nxShell.FindRow(0, "3"));
  EXPECT_EQ(p.SpinEdit1.Text(), "3");
  EXPECT_EQ(p.icName.Text(), "Closed folder");
  EXPECT_EQ(p.icLoc.Text(), Shell32() + ",3");
  EXPECT_NE(p.Image1.Icon(), nullptr);
  EXPECT_NE(p.Image2.Icon(), nullptr);

  // No override: nothing after; a space after the comma names a file that does not exist.
  for (const char* slot : {"1", "5"}) {
    p.nxShell.SelectRow(p.nxShell.FindRow(0, slot));
    EXPECT_NE(p.Image1.Icon(), nullptr) << slot;
    EXPECT_EQ(p.Image2.Icon(), nullptr) << slot;
  }
  EXPECT_EQ(p.icLoc.Text(), "C:\\x.dll, 3");

  p.nxShell.SelectRow(p.nxShell.FindRow(0, "6"));
  EXPECT_EQ(fakes.prompts.Errors(), std::vector<std::string>{"'3,4' is not a valid integer value."});
  EXPECT_EQ(p.Image2.Icon(), nullptr);
}

TEST_F(ShellIcons, SetAndResetFindTheirRowByIndexAfterSortingByLabel) {
  auto& p = Page(StartFrame());
  // SET and RESET before any selection do nothing.
  Click(p.BitBtn16);
  Click(p.BitBtn17);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kShellIconsKey));

  p.nxShell.ColumnClick(1);   // "Label", ascending: the unnamed slots first
  ASSERT_NE(p.nxShell.FindRow(0, "31"), 31);
  p.nxShell.SelectRow(p.nxShell.FindRow(0, "31"));
  p.icLoc.SetText(Shell32() + ",5");
  Click(p.BitBtn16);
  EXPECT_EQ(ReadLMString(kShellIconsKey, "31"), Shell32() + ",5");
  int row = p.nxShell.FindRow(0, "31");
  EXPECT_EQ(p.nxShell.Cell(2, row), Shell32() + ",5");
  EXPECT_EQ(p.nxShell.Cell(1, row), "Recycle Bin Empty");
  EXPECT_NE(p.Image2.Icon(), nullptr);

  // RESET removes the value; the boxes and the "After" preview stay as they were.
  HICON after = p.Image2.Icon();
  Click(p.BitBtn17);
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kShellIconsKey, "31"));
  EXPECT_EQ(p.nxShell.Cell(2, p.nxShell.FindRow(0, "31")), "");
  EXPECT_EQ(p.icLoc.Text(), Shell32() + ",5");
  EXPECT_EQ(p.Image2.Icon(), after);
  EXPECT_EQ(p.nxShell.RowCount(), 306);
}

TEST_F(ShellIcons, SetWithAnEmptyBoxStoresAnEmptyOverride) {
  WriteLMString(kShellIconsKey, "8", "C:\\disk.ico");
  auto& p = Page(StartFrame());
  p.nxShell.SelectRow(8);
  p.icLoc.SetText("");
  Click(p.BitBtn16);
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kShellIconsKey, "8"));
  EXPECT_EQ(ReadLMString(kShellIconsKey, "8"), "");
  EXPECT_EQ(p.nxShell.Cell(2, 8), "");
  EXPECT_TRUE(fakes.prompts.Errors().empty());
}

TEST_F(ShellIcons, SetWritesBeforeAStrictIndexErrorStopsThePreview) {
  auto& p = Page(StartFrame());
  p.nxShell.SelectRow(2);
  p.icLoc.SetText("C:\\x.dll,4a");
  Click(p.BitBtn16);
  EXPECT_EQ(ReadLMString(kShellIconsKey, "2"), "C:\\x.dll,4a");
  EXPECT_EQ(p.nxShell.Cell(2, 2), "C:\\x.dll,4a");
  EXPECT_EQ(fakes.prompts.Errors(), std::vector<std::string>{"'4a' is not a valid integer value."});
}

TEST_F(ShellIcons, BrowseUsesTheIconDialogAndForgetsTheChosenName) {
  auto& p = Page(StartFrame());
  p.nxShell.SelectRow(3);
  std::string ico = appDir / "a.ico";
  WriteIcoFile(ico);
  fakes.prompts.openAnswers.push_back({ico});
  Click(p.shlBrowse);
  ASSERT_EQ(fakes.prompts.openSpecs.size(), 1u);
  const OpenDialogSpec& spec = fakes.prompts.openSpecs[0];
  EXPECT_EQ(spec.title, "Browse");
  EXPECT_EQ(spec.filter, "Application (*.exe)|*.exe|DLL File (*.dll)|*.dll|Icon (*.ico)|*.ico");
  EXPECT_EQ(spec.filterIndex, 3);
  EXPECT_EQ(spec.defaultExt, "*.ico");
  EXPECT_EQ(p.icLoc.Text(), ico);   // the path alone, no index appended
  EXPECT_NE(p.Image2.Icon(), nullptr);
  EXPECT_EQ(p.ICD.FileName, "");
  Click(p.BitBtn16);
  EXPECT_EQ(ReadLMString(kShellIconsKey, "3"), ico);

  // The next use starts in the folder of the box's text; a cancelled dialog changes nothing.
  p.icLoc.SetText("D:\\Icons\\b.ico,2");
  Click(p.shlBrowse);
  EXPECT_EQ(fakes.prompts.openSpecs[1].initialDir, "D:\\Icons\\");
  EXPECT_EQ(p.icLoc.Text(), "D:\\Icons\\b.ico,2");
}

}  // namespace
}  // namespace zel::test
