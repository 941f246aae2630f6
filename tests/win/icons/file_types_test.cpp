// The "File" tab: loading every extension of HKEY_CLASSES_ROOT, selection splitting the icon
// location, SET and RESET on the association that extensions share, and the index preview.
#include "icons_fixture.h"

namespace zel::test {
namespace {

class FileTypes : public IconsFrame {
 protected:
  void SetUp() override {
    IconsFrame::SetUp();
    for (const char* k : {".3zelgp", ".Bzelvi", ".azelvi", ".zelhtm", ".zelhtml", ".zelnone", ".zelapp",
                          "zelvane.video", "zelvane.htmlfile", "zelvane.app"})
      keys.push_back(std::make_unique<ScopedRegistryKey>(HKEY_CLASSES_ROOT, k));
    WriteCRString(".3zelgp", "", "zelvane.video");
    WriteCRString(".Bzelvi", "", "zelvane.video");
    WriteCRString(".azelvi", "", "zelvane.video");
    WriteCRString(".zelhtm", "", "zelvane.htmlfile");
    WriteCRString(".zelhtml", "", "zelvane.htmlfile");
    WriteCRString(".zelnone", "Content Type", "text/plain");   // no association
    WriteCRString(".zelapp", "", "zelvane.app");
    WriteCRString("zelvane.video\\DefaultIcon", "", Shell32() + ",3");
    WriteCRString("zelvane.htmlfile\\DefaultIcon", "", "C:\\Windows\\System32\\imageres.dll,-102");
    WriteCRString("zelvane.app\\DefaultIcon", "", "C:\\App\\app.exe,2x");
  }
  icons::IconsPage& Start() {
    auto& p = Page(StartFrame());
    p.PageControl4.SetActivePage(3);
    return p;
  }
  static void Click(ui::Button& b) { SendMessageA(b.hwnd(), BM_CLICK, 0, 0); }
  static std::string Shell32() { return WindowsDir() + "\\System32\\shell32.dll"; }
  static void Select(icons::IconsPage& p, const char* ext) { p.nxFile.SelectRow(p.nxFile.FindRow(0, ext)); }

  std::vector<std::unique_ptr<ScopedRegistryKey>> keys;
};

TEST_F(FileTypes, LoadListsEachExtensionOnceInCharacterCodeOrder) {
  auto& p = Start();
  EXPECT_EQ(p.nxFile.RowCount(), 0);
  EXPECT_TRUE(p.btnLoadFA.Visible());
  Click(p.fileSET);   // nothing loaded, nothing selected: nothing happens
  Click(p.fileRESET);

  Click(p.btnLoadFA);
  EXPECT_FALSE(p.btnLoadFA.Visible());
  EXPECT_FALSE(p.nxFile.Updating());
  std::vector<std::string> shown;
  for (int r = 0; r < p.nxFile.RowCount(); ++r) {
    shown.push_back(p.nxFile.Cell(0, r));
    EXPECT_EQ(shown.back()[0], '.') << shown.back();
  }
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end())) << "by plain character codes";
  int digit = p.nxFile.FindRow(0, ".3zelgp"), capital = p.nxFile.FindRow(0, ".Bzelvi"),
      small = p.nxFile.FindRow(0, ".azelvi");
  ASSERT_GE(digit, 0);
  EXPECT_LT(digit, capital);
  EXPECT_LT(capital, small);   // a sort without regard to case would put .azelvi first
  EXPECT_EQ(std::count(shown.begin(), shown.end(), ".zelhtm"), 1);
  EXPECT_EQ(p.nxFile.FindRow(0, "zelvane.video"), -1);
  EXPECT_EQ(p.nxFile.Cell(1, capital), "zelvane.video");
  EXPECT_EQ(p.nxFile.Cell(2, capital), Shell32() + ",3");
  EXPECT_EQ(p.nxFile.Cell(1, p.nxFile.FindRow(0, ".zelnone")), "");
}

TEST_F(FileTypes, SelectionSplitsTheLocationIntoPathAndIndex) {
  auto& p = Start();
  Click(p.btnLoadFA);
  Select(p, ".Bzelvi");
  EXPECT_EQ(p.fileEXT.Text(), ".Bzelvi");
  EXPECT_EQ(p.fileASSOC.Text(), "zelvane.video");
  EXPECT_EQ(p.fileICLoc.Text(), Shell32());
  EXPECT_EQ(p.fileIDX.Value(), 3);
  EXPECT_NE(p.imgFile.Icon(), nullptr);

  // A resource id shows as index 0; a rest that is not a number reads as 0 without an error.
  Select(p, ".zelhtm");
  EXPECT_EQ(p.fileICLoc.Text(), "C:\\Windows\\System32\\imageres.dll");
  EXPECT_EQ(p.fileIDX.Value(), 0);
  Select(p, ".zelapp");
  EXPECT_EQ(p.fileICLoc.Text(), "C:\\App\\app.exe");
  EXPECT_EQ(p.fileIDX.Value(), 0);
  EXPECT_TRUE(fakes.prompts.Errors().empty());
}

TEST_F(FileTypes, SetChangesTheIconOfEveryExtensionOfTheAssociation) {
  auto& p = Start();
  Click(p.btnLoadFA);
  Select(p, ".zelhtm");
  Click(p.fileSET);   // path and box index joined
  EXPECT_EQ(ReadCRString("zelvane.htmlfile\\DefaultIcon", ""), "C:\\Windows\\System32\\imageres.dll,0");

  p.fileICLoc.SetText(Shell32());
  p.fileIDX.SetValue(5);
  Click(p.fileSET);
  EXPECT_EQ(ReadCRString("zelvane.htmlfile\\DefaultIcon", ""), Shell32() + ",5");
  EXPECT_EQ(p.nxFile.Cell(2, p.nxFile.FindRow(0, ".zelhtm")), Shell32() + ",5");
  // The other extension of the type shares the icon but keeps showing what was loaded.
  EXPECT_EQ(p.nxFile.Cell(2, p.nxFile.FindRow(0, ".zelhtml")), "C:\\Windows\\System32\\imageres.dll,-102");
  EXPECT_NE(p.imgFile.Icon(), nullptr);

  // An extension without a type: SET and RESET do nothing.
  Select(p, ".zelnone");
  Click(p.fileSET);
  Click(p.fileRESET);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "\\DefaultIcon"));
  EXPECT_EQ(ReadCRString("zelvane.htmlfile\\DefaultIcon", ""), Shell32() + ",5");
}

TEST_F(FileTypes, ResetBlanksTheValueButKeepsTheKeyAndTheBoxes) {
  auto& p = Start();
  Click(p.btnLoadFA);
  Select(p, ".3zelgp");
  Click(p.fileRESET);
  EXPECT_TRUE(ValueExists(HKEY_CLASSES_ROOT, "zelvane.video\\DefaultIcon", ""));
  EXPECT_EQ(ReadCRString("zelvane.video\\DefaultIcon", ""), "");
  EXPECT_EQ(p.nxFile.Cell(2, p.nxFile.FindRow(0, ".3zelgp")), "");
  EXPECT_EQ(p.fileICLoc.Text(), Shell32());
  EXPECT_EQ(p.fileIDX.Value(), 3);
  EXPECT_NE(p.imgFile.Icon(), nullptr);   // the plain path previews its icon 0
  Click(p.fileSET);                       // the boxes can be stored again
  EXPECT_EQ(ReadCRString("zelvane.video\\DefaultIcon", ""), Shell32() + ",3");
}

TEST_F(FileTypes, TheIndexBoxPreviewsButTypingAPathDoesNot) {
  auto& p = Start();
  Click(p.btnLoadFA);
  Select(p, ".Bzelvi");
  ASSERT_NE(p.imgFile.Icon(), nullptr);
  p.fileICLoc.SetText(p.fileICLoc.Text() + "x");   // now names no file
  EXPECT_NE(p.imgFile.Icon(), nullptr);
  p.fileIDX.SetValue(4);
  EXPECT_EQ(p.imgFile.Icon(), nullptr);
  p.fileICLoc.SetText(Shell32());
  p.fileIDX.SetValue(5);
  EXPECT_NE(p.imgFile.Icon(), nullptr);

  // A lone minus sign typed into the box is read strictly.
  SetWindowTextA(p.fileIDX.hwnd(), "-");
  EXPECT_EQ(fakes.prompts.Errors(), std::vector<std::string>{"'-' is not a valid integer value."});
}

TEST_F(FileTypes, BrowseSetsThePathAndIndexZero) {
  auto& p = Start();
  Click(p.btnLoadFA);
  Select(p, ".Bzelvi");
  std::string ico = appDir / "v.ico";
  WriteIcoFile(ico);
  fakes.prompts.openAnswers.push_back({ico});
  Click(p.Button7);
  EXPECT_EQ(fakes.prompts.openSpecs.at(0).initialDir, ExtractFilePath(Shell32()));
  EXPECT_EQ(p.fileICLoc.Text(), ico);
  EXPECT_EQ(p.fileIDX.Value(), 0);
  EXPECT_NE(p.imgFile.Icon(), nullptr);
  EXPECT_EQ(p.ICD.FileName, "");
}

}  // namespace
}  // namespace zel::test
