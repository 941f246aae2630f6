// The "Folder" tab: desktop.ini written through the profile calls, the icon copied into the
// folder, the attributes on disk, the reset, and the loading and preview rules.
#include "core/files.h"
#include "icons_fixture.h"

namespace zel::test {
namespace {

const char kChanged[] =
    "Folder Icon Changed, please wait few seconds to see the changes!\r( Usually up to 30 Seconds )";

class FolderIcons : public IconsFrame {
 protected:
  void SetUp() override {
    IconsFrame::SetUp();
    photos = work / "Photos";
    icons = work / "Icons";
    ForceDirectories(photos);
    ForceDirectories(icons);
    star = icons + "\\Star.ICO";
    WriteIcoFile(star);
  }
  icons::IconsPage& Start() {
    auto& p = Page(StartFrame());
    p.PageControl4.SetActivePage(2);
    return p;
  }
  void Change(icons::IconsPage& p, const std::string& icon, bool copy, int index, const std::string& tip) {
    p.ficFolder.SetText(photos);
    p.ficIcon.SetText(icon);
    p.chkCopyIcon.SetChecked(copy);
    p.ficIndex.SetValue(index);
    p.ficInfo.SetText(tip);
    SendMessageA(p.Button1.hwnd(), BM_CLICK, 0, 0);
  }
  std::string Ini() const { return photos + "\\desktop.ini"; }

  TempFolder work;
  std::string photos, icons, star;
};

TEST_F(FolderIcons, ChangeWithCopyWritesTheFileInOrderAndHidesTheCopy) {
  auto& p = Start();
  Change(p, star, true, 0, "Holiday");
  EXPECT_EQ(ReadTextFile(Ini()), "[.ShellClassInfo]\r\nIconFile=Star.ICO\r\nIconIndex=0\r\nInfoTip=Holiday\r\n");
  EXPECT_EQ(ReadTextFile(photos + "\\Star.ICO"), ReadTextFile(star));
  EXPECT_EQ(Attributes(photos), DWORD(FILE_ATTRIBUTE_SYSTEM));
  EXPECT_EQ(Attributes(Ini()), DWORD(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Attributes(photos + "\\Star.ICO"), DWORD(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(fakes.prompts.Messages(), std::vector<std::string>{kChanged});
  // The fields keep their values.
  EXPECT_EQ(p.ficIcon.Text(), star);
  EXPECT_EQ(p.ficInfo.Text(), "Holiday");
}

TEST_F(FolderIcons, OnlyATickedIcoFileIsCopiedOtherwiseTheFullPathIsStored) {
  struct Case {
    std::string icon;
    bool copy;
  } cases[] = {{star, false}, {"C:\\Windows\\System32\\Shell32.dll", true}};
  auto& p = Start();
  for (const auto& c : cases) {
    Change(p, c.icon, c.copy, 4, "");
    EXPECT_EQ(ReadTextFile(Ini()), "[.ShellClassInfo]\r\nIconFile=" + c.icon + "\r\nIconIndex=4\r\nInfoTip=\r\n");
    EXPECT_EQ(Attributes(photos + "\\Star.ICO"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Attributes(photos + "\\Shell32.dll"), INVALID_FILE_ATTRIBUTES);
  }
}

TEST_F(FolderIcons, AnIconOfTheSameNameInTheFolderIsKeptAndHidden) {
  WriteTextFile(photos + "\\Star.ICO", "mine");
  auto& p = Start();
  Change(p, star, true, 0, "");
  EXPECT_EQ(ReadTextFile(photos + "\\Star.ICO"), "mine");
  EXPECT_EQ(Attributes(photos + "\\Star.ICO"), DWORD(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_NE(ReadTextFile(Ini()).find("IconFile=Star.ICO\r\n"), std::string::npos);
}

TEST_F(FolderIcons, AnExistingFileKeepsItsOtherLinesAndLosesIconResource) {
  WriteTextFile(Ini(),
                "[ViewState]\r\nMode=4\r\n[.ShellClassInfo]\r\nInfoTip=old tip\r\nIconResource=x.dll,3\r\n"
                "ConfirmFileOp=0\r\nIconFile=old.ico\r\n[Other]\r\nKey=Value\r\n");
  auto& p = Start();
  Change(p, star, false, 7, "new tip");
  EXPECT_EQ(ReadTextFile(Ini()),
            "[ViewState]\r\nMode=4\r\n[.ShellClassInfo]\r\nInfoTip=new tip\r\nConfirmFileOp=0\r\nIconFile=" + star +
                "\r\nIconIndex=7\r\n[Other]\r\nKey=Value\r\n");
  // A second change rewrites the now hidden file in place.
  Change(p, star, false, 8, "newer");
  EXPECT_NE(ReadTextFile(Ini()).find("InfoTip=newer\r\nConfirmFileOp=0\r\nIconFile="), std::string::npos);
  EXPECT_NE(ReadTextFile(Ini()).find("IconIndex=8\r\n"), std::string::npos);
}

TEST_F(FolderIcons, ChangeWithoutAFolderRefusesAndAMissingFolderReportsTheWrite) {
  auto& p = Start();
  p.ficIcon.SetText(star);
  SendMessageA(p.Button1.hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(fakes.prompts.Messages().size(), 1u);
  EXPECT_NE(fakes.prompts.Messages()[0].find("Folder Location"), std::string::npos);
  EXPECT_TRUE(fakes.prompts.Errors().empty());

  std::string missing = work / "missing";
  p.ficFolder.SetText(missing);
  SendMessageA(p.Button1.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(fakes.prompts.Errors(), std::vector<std::string>{"Unable to write to " + missing + "\\desktop.ini."});
  EXPECT_EQ(fakes.prompts.Messages().size(), 1u);   // no success message
}

TEST_F(FolderIcons, ResetDeletesTheFileAndSaysSoButIsSilentWithoutOne) {
  auto& p = Start();
  p.ficFolder.SetText(photos);
  SendMessageA(p.ficReset.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(fakes.prompts.shown.empty());

  Change(p, star, true, 0, "Holiday");
  SendMessageA(p.ficReset.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(Attributes(Ini()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(fakes.prompts.Messages().back(),
            "Folder Icon has been Resetted into Default, please wait few seconds to see the changes!\r( Usually up "
            "to 30 Seconds )");
  // The copied icon and the folder's attribute stay; the fields too.
  EXPECT_EQ(Attributes(photos + "\\Star.ICO"), DWORD(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Attributes(photos), DWORD(FILE_ATTRIBUTE_SYSTEM));
  EXPECT_EQ(p.ficFolder.Text(), photos);
}

TEST_F(FolderIcons, ADroppedFolderLoadsItsSettingsAndPreviewsItsOwnIcon) {
  struct Case {
    const char* index;
    int shown;
  } cases[] = {{"0x1F", 31}, {"abc", 0}, {"5000", 1000}, {"2", 2}};
  auto& p = Start();
  for (const auto& c : cases) {
    WriteTextFile(Ini(), std::string("[.ShellClassInfo]\r\nIconFile=x.ico\r\nIconIndex=") + c.index +
                             "\r\nInfoTip=tip\r\n");
    p.DropFolder(photos);
    EXPECT_EQ(p.ficIndex.Value(), c.shown) << c.index;
  }
  EXPECT_EQ(p.ficFolder.Text(), photos);
  EXPECT_EQ(p.ficIcon.Text(), "x.ico");
  EXPECT_EQ(p.ficInfo.Text(), "tip");

  // A name without a colon is looked up in the folder.
  WriteIcoFile(photos + "\\Star.ICO");
  WriteTextFile(Ini(), "[.ShellClassInfo]\r\nIconFile=Star.ICO\r\nIconIndex=0\r\n");
  p.DropFolder(photos);
  EXPECT_NE(p.ficICO.Icon(), nullptr);

  // A folder without desktop.ini empties the fields and the preview.
  std::string bare = work / "Bare";
  ForceDirectories(bare);
  p.DropFolder(bare);
  EXPECT_EQ(p.ficIcon.Text(), "");
  EXPECT_EQ(p.ficInfo.Text(), "");
  EXPECT_EQ(p.ficIndex.Value(), 0);
  EXPECT_EQ(p.ficICO.Icon(), nullptr);
}

TEST_F(FolderIcons, ChoosingAFolderStartsBesideTheCurrentOneAndRefreshesThePreview) {
  WriteIcoFile(photos + "\\Star.ICO");
  WriteTextFile(Ini(), "[.ShellClassInfo]\r\nIconFile=Star.ICO\r\nIconIndex=0\r\nInfoTip=trip\r\n");
  auto& p = Start();
  p.ficFolder.SetText(icons);
  fakes.prompts.folderAnswers.push_back(photos);
  SendMessageA(p.Button5.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(fakes.prompts.shown.at(0).text, "Select Directory");
  EXPECT_EQ(fakes.prompts.folderStarts.at(0), ExcludeTrailingBackslash(work.path()));
  EXPECT_EQ(p.ficFolder.Text(), photos);
  EXPECT_EQ(p.ficInfo.Text(), "trip");
  EXPECT_NE(p.ficICO.Icon(), nullptr);

  // Cancelled: the folder stays and is loaded again; another folder with the same index
  // does not keep the old preview.
  std::string bare = work / "Bare";
  ForceDirectories(bare);
  p.ficFolder.SetText(bare);
  SendMessageA(p.Button5.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(p.ficFolder.Text(), bare);
  EXPECT_EQ(p.ficInfo.Text(), "");
  EXPECT_EQ(p.ficICO.Icon(), nullptr);
}

TEST_F(FolderIcons, TheIconDialogStartsInTheFolderAndSetsIndexZero) {
  auto& p = Start();
  p.ficFolder.SetText(photos);
  p.ficIndex.SetValue(5);
  fakes.prompts.openAnswers.push_back({star});
  SendMessageA(p.Button6.hwnd(), BM_CLICK, 0, 0);
  const OpenDialogSpec& spec = fakes.prompts.openSpecs.at(0);
  EXPECT_EQ(spec.title, "Select Icon");
  EXPECT_EQ(spec.filter, "Application (*.exe)|*.exe|DLL File (*.dll)|*.dll|Icon (*.*)|*.ico");
  EXPECT_EQ(spec.filterIndex, 3);
  EXPECT_EQ(spec.initialDir, photos);   // also with an empty icon field
  EXPECT_EQ(p.ficIcon.Text(), star);
  EXPECT_EQ(p.ficIndex.Value(), 0);
  EXPECT_NE(p.ficICO.Icon(), nullptr);

  // Cancelled: nothing changes; the dialog still holds the last name and shows it again.
  SendMessageA(p.Button6.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(p.ficIcon.Text(), star);
  EXPECT_EQ(p.IcoDlg.FileName, star);
  EXPECT_EQ(fakes.prompts.openSpecs.at(0).fileName, "");
  EXPECT_EQ(fakes.prompts.openSpecs.at(1).fileName, star);
}

TEST_F(FolderIcons, TypingAnIconPathClearsThePreviewAndShowsTheNewIcon) {
  auto& p = Start();
  p.ficFolder.SetText(photos);
  HWND edit = GetWindow(p.ficIcon.hwnd(), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  TypeInto(edit, star);
  EXPECT_EQ(p.ficIcon.Text(), star);
  EXPECT_NE(p.ficICO.Icon(), nullptr);
  TypeInto(edit, icons + "\\none.ico");
  EXPECT_EQ(p.ficICO.Icon(), nullptr);
  // Picking a list item previews it too; an index beyond the file's icons empties the preview.
  SendMessageA(p.ficIcon.hwnd(), CB_SETCURSEL, 0, 0);
  SendMessageA(p.PageControl4.Sheet(2).hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(p.ficIcon.hwnd()));
  EXPECT_NE(p.ficICO.Icon(), nullptr);
  TypeInto(edit, star);
  p.ficIndex.SetValue(3);
  EXPECT_EQ(p.ficICO.Icon(), nullptr);
}

}  // namespace
}  // namespace zel::test
