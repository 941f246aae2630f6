#include "ui/prompts.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/files.h"
#include "core/text.h"
#include "imaging/io.h"
#include "imaging/thumbnail.h"
#include "ui/bitmap.h"

namespace zel::ui {

namespace {

// Message boxes show a doubled ampersand as one, like the program's labels.
std::string BoxText(const std::string& text) { return ReplaceAll(text, "&&", "&"); }

// The folder browser starts with the given folder selected.
int CALLBACK SelectStartFolder(HWND wnd, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

// A dialog template built in memory: the header, then its controls one after another.
class DialogTemplate {
 public:
  static constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;  // the predefined classes

  DialogTemplate(DWORD style, short cx, short cy, const std::string& caption) {
    DLGTEMPLATE header{style | DS_SETFONT, 0, 0, 0, 0, cx, cy};
    Append(&header, sizeof(header));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the default class
    Text(caption);
    words_.push_back(8);  // font size, then face
    Text("MS Shell Dlg");
  }

  void Add(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const std::string& text) {
    Align();
    DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id};
    Append(&item, sizeof(item));
    words_.push_back(0xFFFF);
    words_.push_back(classAtom);
    Text(text);
    words_.push_back(0);  // no creation data
    ++words_[4];          // DLGTEMPLATE::cdit
  }

  DLGTEMPLATE* get() {
    Align();
    return reinterpret_cast<DLGTEMPLATE*>(words_.data());
  }
  size_t bytes() {
    Align();
    return words_.size() * sizeof(WORD);
  }

 private:
  void Append(const void* data, size_t size) {
    const WORD* w = static_cast<const WORD*>(data);
    words_.insert(words_.end(), w, w + size / sizeof(WORD));
  }
  void Text(const std::string& text) {
    for (unsigned char c : text) words_.push_back(c);
    words_.push_back(0);
  }
  void Align() {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
  }
  std::vector<WORD> words_;
};

// The input box: a small modal dialog built in memory (caption, prompt, edit, OK, Cancel).
class InputDialog {
 public:
  InputDialog(const std::string& caption, const std::string& prompt, const std::string& value)
      : caption_(caption), prompt_(prompt), value_(value) {}

  bool Run(HWND owner) {
    DialogTemplate t(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 240, 68, caption_);
    t.Add(SS_LEFT, 8, 6, 224, 10, 100, DialogTemplate::kStatic, prompt_);
    t.Add(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 20, 224, 12, 101, DialogTemplate::kEdit, "");
    t.Add(WS_TABSTOP | BS_DEFPUSHBUTTON, 128, 44, 50, 14, IDOK, DialogTemplate::kButton, "OK");
    t.Add(WS_TABSTOP | BS_PUSHBUTTON, 182, 44, 50, 14, IDCANCEL, DialogTemplate::kButton, "Cancel");
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.get(), owner, &Proc, reinterpret_cast<LPARAM>(this)) ==
           IDOK;
  }
  const std::string& value() const { return value_; }

 private:
  static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<InputDialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
      case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
        self = reinterpret_cast<InputDialog*>(lp);
        SetDlgItemTextA(dlg, 101, self->value_.c_str());
        SendDlgItemMessageA(dlg, 101, EM_SETSEL, 0, -1);
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
          char buffer[4096] = {};
          GetDlgItemTextA(dlg, 101, buffer, sizeof(buffer));
          self->value_ = buffer;
          EndDialog(dlg, IDOK);
          return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
          EndDialog(dlg, IDCANCEL);
          return TRUE;
        }
        break;
    }
    return FALSE;
  }
  std::string caption_, prompt_, value_;
};

// The picture pane of the picture dialog: a child template beside the standard controls and
// a hook that shows a thumbnail of the selected file. One dialog is open at a time (it is
// modal), so the pane's state is kept here.
constexpr int kPreviewId = 1200;
constexpr int kStandardControlsId = 0x045F;  // stc32: where the dialog puts its own controls
HBITMAP g_preview = nullptr;

void SetPreview(HBITMAP bitmap) {
  if (g_preview) DeleteObject(g_preview);
  g_preview = bitmap;
}

void ShowPreviewOf(HWND pane, const std::string& path) {
  HWND box = GetDlgItem(pane, kPreviewId);
  RECT rc;
  GetClientRect(box, &rc);
  HBITMAP bitmap = nullptr;
  if (FileExists(path) && img::CanRead(ExtractFileExt(path))) {
    try {
      bitmap = ToBitmap(img::LoadThumbnail(path, std::max(8, int(std::min(rc.right, rc.bottom)) - 8)));
    } catch (const std::exception&) {
      bitmap = nullptr;  // an unreadable file shows an empty pane
    }
  }
  SetPreview(bitmap);
  InvalidateRect(box, nullptr, TRUE);
}

void DrawPreview(const DRAWITEMSTRUCT& item) {
  RECT rc = item.rcItem;
  FillRect(item.hDC, &rc, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(item.hDC, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
  if (!g_preview) return;
  BITMAP bm{};
  GetObjectA(g_preview, sizeof(bm), &bm);
  HDC memory = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(memory, g_preview);
  BitBlt(item.hDC, (rc.right - bm.bmWidth) / 2, (rc.bottom - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, memory, 0, 0,
         SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

UINT_PTR CALLBACK PreviewHook(HWND pane, UINT msg, WPARAM, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      auto* notify = reinterpret_cast<OFNOTIFYA*>(lp);
      if (notify->hdr.code == CDN_SELCHANGE) {
        char path[MAX_PATH * 4] = {};
        if (SendMessageA(GetParent(pane), CDM_GETFILEPATH, sizeof(path), reinterpret_cast<LPARAM>(path)) > 0)
          ShowPreviewOf(pane, path);
      }
      break;
    }
    case WM_DRAWITEM:
      if (reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlID == kPreviewId) {
        DrawPreview(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      SetPreview(nullptr);
      break;
  }
  return 0;
}

// The pane's template: the standard controls' place, then a caption and the picture box to
// their right (dialog units).
DialogTemplate PreviewTemplate() {
  DialogTemplate t(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, 140, 120, "");
  t.Add(SS_LEFT, 0, 0, 4, 110, kStandardControlsId, DialogTemplate::kStatic, "");
  t.Add(SS_LEFT, 10, 6, 124, 10, 1201, DialogTemplate::kStatic, "Preview");
  t.Add(SS_OWNERDRAW, 10, 18, 124, 100, kPreviewId, DialogTemplate::kStatic, "");
  return t;
}

std::string FilterText(const std::string& filter) {
  std::string f = filter;
  for (char& c : f)
    if (c == '|') c = '\0';
  f.push_back('\0');
  f.push_back('\0');
  return f;
}

class WindowsPrompterImpl : public Prompter {
 public:
  void Message(HWND owner, const std::string& text, MessageKind kind) override {
    UINT icon = kind == MessageKind::Error ? MB_ICONERROR : kind == MessageKind::Warning ? MB_ICONWARNING
                                                                                           : MB_ICONINFORMATION;
    MessageBoxA(owner, BoxText(text).c_str(), kAppTitle, MB_OK | icon);
  }

  bool Confirm(HWND owner, const std::string& text) override {
    return MessageBoxA(owner, BoxText(text).c_str(), kAppTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }

  std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override {
    InputDialog dialog(caption, prompt, defaultText);
    return dialog.Run(owner) ? dialog.value() : defaultText;
  }

  bool OpenFiles(HWND owner, OpenDialogSpec& spec, std::vector<std::string>& files) override {
    files.clear();
    std::vector<char> buffer(65536, '\0');
    spec.fileName.copy(buffer.data(), std::min(spec.fileName.size(), buffer.size() - 2));
    std::string filter = FilterText(spec.filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = spec.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = DWORD(spec.filterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    ofn.lpstrInitialDir = spec.initialDir.empty() ? nullptr : spec.initialDir.c_str();
    ofn.lpstrTitle = spec.title.empty() ? nullptr : spec.title.c_str();
    std::string ext = spec.defaultExt;
    if (!ext.empty() && ext.rfind("*.", 0) == 0) ext = ext.substr(2);
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR | (spec.hideReadOnly ? OFN_HIDEREADONLY : 0) |
                (spec.multiSelect ? OFN_ALLOWMULTISELECT : 0);
    if (spec.hidePlacesBar) ofn.FlagsEx = OFN_EX_NOPLACESBAR;
    HGLOBAL paneMemory = nullptr;
    if (spec.picturePreview) {
      DialogTemplate pane = PreviewTemplate();
      paneMemory = GlobalAlloc(GMEM_FIXED, pane.bytes());
      if (paneMemory) {
        std::memcpy(paneMemory, pane.get(), pane.bytes());
        ofn.hInstance = static_cast<HINSTANCE>(paneMemory);
        ofn.lpfnHook = &PreviewHook;
        ofn.Flags |= OFN_ENABLETEMPLATEHANDLE | OFN_ENABLEHOOK;
      }
    }
    BOOL chosen = GetOpenFileNameA(&ofn);
    if (paneMemory) GlobalFree(paneMemory);
    if (!chosen) return false;
    spec.filterIndex = int(ofn.nFilterIndex);
    // Several names come as the folder followed by the names, each ended by a NUL.
    const char* p = buffer.data();
    std::string first = p;
    p += first.size() + 1;
    if (!*p) {
      files.push_back(first);
    } else {
      for (; *p; p += std::strlen(p) + 1) files.push_back(IncludeTrailingBackslash(first) + p);
    }
    spec.initialDir = ExtractFilePath(files.front());
    return true;
  }

  bool BrowseFolder(HWND owner, const std::string& caption, const std::string& startFolder,
                    std::string& folder) override {
    char display[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = owner;
    bi.pszDisplayName = display;
    bi.lpszTitle = caption.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = &SelectStartFolder;
    bi.lParam = startFolder.empty() ? 0 : reinterpret_cast<LPARAM>(startFolder.c_str());
    LPITEMIDLIST list = SHBrowseForFolderA(&bi);
    if (!list) return false;
    char path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListA(list, path) != 0;
    CoTaskMemFree(list);
    if (ok) folder = path;
    return ok;
  }

  void ErrorBox(HWND owner, const std::string& text) override {
    MessageBoxA(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONSTOP);
  }
};

bool TranslateForDialogs(MSG& msg) {
  // Tab, arrow and Enter keys move between the controls of the window that has the focus.
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && (GetWindowLongA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageA(root, &msg)) return true;
  return false;
}

}  // namespace

Prompter& WindowsPrompter() {
  static WindowsPrompterImpl prompter;
  return prompter;
}

void InstallWindowsPrompter() { services().prompts = &WindowsPrompter(); }

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (TranslateForDialogs(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return int(msg.wParam);
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    if (TranslateForDialogs(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace zel::ui
