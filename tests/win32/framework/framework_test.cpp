// The dialog framework against real Wine windows: data exchange, message
// dispatch, picture buttons and the ways a modal dialog ends.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework_test_ids.h"
#include "ui/framework/afxwin.h"

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

class TestDialog : public CDialog {
 public:
  explicit TestDialog(std::function<void(TestDialog&)> check)
      : CDialog(IDD_TEST), m_check(std::move(check)) {}

  CString m_text = L"initial";
  CString m_staticText;
  CWnd m_edit;
  CBitmapButton m_picture;
  CBitmapButton m_noPicture;
  CBrush m_brush;
  int m_clicks = 0;
  int m_saves = 0;
  UINT m_colourKind = 99;
  HWND m_colourControl = nullptr;
  UINT m_dpiChangedTo = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    if (pDX->m_bSaveAndValidate) ++m_saves;
    DDX_Control(pDX, IDC_TEST_EDIT, m_edit);
    DDX_Text(pDX, IDC_TEST_EDIT, m_text);
    DDX_Text(pDX, IDC_TEST_STATIC, m_staticText);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_brush.CreateSolidBrush(RGB(1, 2, 3));
    if (m_check) m_check(*this);
    return TRUE;
  }
  void OnDpiChanged(UINT dpi) override { m_dpiChangedTo = dpi; }
  void OnBnClickedPicture() { ++m_clicks; }
  void OnNMClickStatic(NMHDR*, LRESULT* result) { *result = 7; }
  HBRUSH OnCtlColor(CDC*, CWnd* control, UINT kind) {
    m_colourKind = kind;
    m_colourControl = control->m_hWnd;
    return m_brush;
  }
  DECLARE_MESSAGE_MAP()

 private:
  std::function<void(TestDialog&)> m_check;
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
  ON_BN_CLICKED(IDC_TEST_PICTURE, OnBnClickedPicture)
  ON_NOTIFY(NM_CLICK, IDC_TEST_STATIC, OnNMClickStatic)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

void End(TestDialog& dialog, int command) { PostMessageW(dialog.m_hWnd, WM_COMMAND, command, 0); }

TEST(CDialog, OpeningWritesMembersIntoControlsAndBindsControlsOnce) {
  TestDialog dialog([](TestDialog& d) {
    EXPECT_EQ(TextOf(d.GetDlgItem(IDC_TEST_EDIT)), L"initial");
    EXPECT_EQ(TextOf(d.GetDlgItem(IDC_TEST_STATIC)), L"") << "the empty member replaces the template text";
    EXPECT_EQ(d.m_edit.m_hWnd, d.GetDlgItem(IDC_TEST_EDIT));
    HWND bound = d.m_edit.m_hWnd;
    d.UpdateData(FALSE);
    EXPECT_EQ(d.m_edit.m_hWnd, bound);
    End(d, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.m_saves, 0) << "cancel takes nothing from the controls";
}

TEST(CDialog, OkTakesControlTextsIntoMembers) {
  TestDialog dialog([](TestDialog& d) {
    SetDlgItemTextW(d.m_hWnd, IDC_TEST_EDIT, L"C:\\Typed by hand");
    SetDlgItemTextW(d.m_hWnd, IDC_TEST_STATIC, L"status");
    End(d, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_saves, 1);
  EXPECT_TRUE(dialog.m_text == L"C:\\Typed by hand");
  EXPECT_TRUE(dialog.m_staticText == L"status");
}

TEST(CDialog, CloseBoxAndEscapeCancel) {
  for (UINT message : {WM_CLOSE, WM_KEYDOWN}) {
    TestDialog dialog([message](TestDialog& d) {
      if (message == WM_CLOSE) {
        PostMessageW(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      } else {
        // The dialog manager turns Escape in any control into IDCANCEL.
        PostMessageW(d.GetDlgItem(IDC_TEST_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
      }
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << message;
  }
}

// The dialog hears of a dpi change after the dialog manager's own answer,
// which comes first (the message goes on to it), with the new dpi.
TEST(CDialog, DpiChangeReachesTheDialogAfterTheDialogManager) {
  TestDialog dialog([](TestDialog& d) {
    RECT suggested = {0, 0, 600, 400};
    SendMessageW(d.m_hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(d.m_dpiChangedTo, 0u) << "not yet: the dialog manager answers first";
    End(d, IDCANCEL);
  });
  dialog.DoModal();
  EXPECT_EQ(dialog.m_dpiChangedTo, 144u);
}

TEST(CDialog, DispatchesCommandsNotificationsAndColourRequests) {
  TestDialog dialog([](TestDialog& d) {
    SendMessageW(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_PICTURE, BN_CLICKED), 0);
    SendMessageW(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_PICTURE, BN_DOUBLECLICKED), 0);
    EXPECT_EQ(d.m_clicks, 1) << "only BN_CLICKED has an entry";

    NMHDR header{d.GetDlgItem(IDC_TEST_STATIC), IDC_TEST_STATIC, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(SendMessageW(d.m_hWnd, WM_NOTIFY, IDC_TEST_STATIC, reinterpret_cast<LPARAM>(&header)), 7);

    HDC dc = GetDC(d.m_hWnd);
    HWND label = d.GetDlgItem(IDC_TEST_STATIC);
    const LRESULT brush = SendMessageW(d.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), static_cast<HBRUSH>(d.m_brush));
    EXPECT_EQ(d.m_colourKind, static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_EQ(d.m_colourControl, label);
    SendMessageW(d.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(d.GetDlgItem(IDC_TEST_EDIT)));
    EXPECT_EQ(d.m_colourKind, static_cast<UINT>(CTLCOLOR_EDIT));
    EXPECT_EQ(d.m_colourControl, d.m_edit.m_hWnd) << "the bound object is handed over";
    ReleaseDC(d.m_hWnd, dc);
    End(d, IDCANCEL);
  });
  dialog.DoModal();
}

COLORREF PixelOfState(CBitmapButton& button, UINT state) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 8, 6);
  HGDIOBJ previous = SelectObject(memory, canvas);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.hwndItem = button.m_hWnd;
  item.hDC = memory;
  item.rcItem = {0, 0, 8, 6};
  item.itemState = state;
  button.DrawItem(&item);
  const COLORREF pixel = GetPixel(memory, 4, 3);
  SelectObject(memory, previous);
  DeleteObject(canvas);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixel;
}

// The text class owns its buffer; appending or assigning from its own text
// must read the old buffer before letting it go.
TEST(CString, AppendsAssignsAndComparesIncludingItsOwnText) {
  CString text = L"ab";
  text += text;
  EXPECT_STREQ(text, L"abab");
  text = text.GetString() + 1;
  EXPECT_STREQ(text, L"bab");
  CString copy = text;
  copy += L"!";
  EXPECT_STREQ(text, L"bab") << "a copy has a buffer of its own";
  EXPECT_EQ(copy.GetLength(), 4);

  const struct {
    const wchar_t* assigned;
    const wchar_t* compared;
    bool equal;
  } cases[] = {
      {nullptr, L"", true}, {L"", nullptr, true}, {L"x", nullptr, false}, {L"x", L"x", true}, {L"x", L"xy", false}};
  for (const auto& c : cases) {
    CString value = c.assigned;
    EXPECT_EQ(value == c.compared, c.equal) << (c.assigned ? c.assigned : L"(null)");
    EXPECT_EQ(value.IsEmpty(), c.assigned == nullptr || *c.assigned == L'\0');
  }
}

TEST(CString, BufferTakesTheTextUpToItsTerminator) {
  CString text = L"old";
  wchar_t* buffer = text.GetBufferSetLength(5);
  EXPECT_EQ(buffer[5], L'\0');
  wcscpy(buffer, L"ab");
  text.ReleaseBuffer();
  EXPECT_STREQ(text, L"ab");
  EXPECT_EQ(text.GetLength(), 2);

  // Filled to the brim, or not at all.
  wmemset(text.GetBufferSetLength(3), L'z', 3);
  text.ReleaseBuffer();
  EXPECT_STREQ(text, L"zzz");
  text.GetBufferSetLength(-4);
  text.ReleaseBuffer();
  EXPECT_TRUE(text.IsEmpty());
}

TEST(CBitmapButton, AutoLoadTakesPicturesNamedByTheCaption) {
  TestDialog dialog([](TestDialog& d) {
    EXPECT_TRUE(d.m_picture.AutoLoad(IDC_TEST_PICTURE, &d));
    RECT r;
    GetWindowRect(d.m_picture.m_hWnd, &r);
    EXPECT_EQ(r.right - r.left, 8);
    EXPECT_EQ(r.bottom - r.top, 6);

    EXPECT_FALSE(d.m_noPicture.AutoLoad(IDC_TEST_NO_PICTURE, &d)) << "no NOPICU picture";
    GetWindowRect(d.m_noPicture.m_hWnd, &r);
    EXPECT_GT(r.right - r.left, 8) << "keeps its template size";

    EXPECT_EQ(PixelOfState(d.m_picture, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOfState(d.m_picture, ODS_SELECTED | ODS_FOCUS), RGB(0, 255, 0));
    EXPECT_EQ(PixelOfState(d.m_picture, ODS_FOCUS), RGB(0, 0, 255));
    EXPECT_EQ(PixelOfState(d.m_picture, ODS_DISABLED), RGB(128, 128, 128));

    // Drawing arrives through the parent's WM_DRAWITEM.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 8, 6);
    HGDIOBJ previous = SelectObject(memory, canvas);
    DRAWITEMSTRUCT item{ODT_BUTTON, IDC_TEST_PICTURE, 0, ODA_DRAWENTIRE, ODS_DISABLED,
                        d.m_picture.m_hWnd, memory, {0, 0, 8, 6}, 0};
    EXPECT_TRUE(SendMessageW(d.m_hWnd, WM_DRAWITEM, IDC_TEST_PICTURE, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(GetPixel(memory, 1, 1), RGB(128, 128, 128));
    SelectObject(memory, previous);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    End(d, IDCANCEL);
  });
  dialog.DoModal();
}

// The pictures follow the window's dpi: the nearest scale drawn, else the
// 100 % ones.
TEST(CBitmapButton, LoadForDpiTakesTheNearestScaleItHas) {
  TestDialog dialog([](TestDialog& d) {
    ASSERT_TRUE(d.m_picture.AutoLoad(IDC_TEST_PICTURE, &d));
    const struct {
      UINT dpi;
      LONG width, height;
    } cases[] = {{144, 12, 9}, {192, 8, 6}, {96, 8, 6}};
    for (const auto& c : cases) {
      EXPECT_TRUE(d.m_picture.LoadForDpi(c.dpi));
      RECT r;
      GetWindowRect(d.m_picture.m_hWnd, &r);
      EXPECT_EQ(r.right - r.left, c.width) << c.dpi << " dpi";
      EXPECT_EQ(r.bottom - r.top, c.height) << c.dpi << " dpi";
    }
    EXPECT_EQ(PixelOfState(d.m_picture, ODS_FOCUS), RGB(0, 0, 255));
    End(d, IDCANCEL);
  });
  dialog.DoModal();
}

// A bitmap resource as LoadBitmapW gives it, else a PNG one decoded into a
// 24-bit bottom-up DIB section; nothing for one that cannot be decoded.
TEST(AfxLoadPicture, TakesTheBitmapElseDecodesThePng) {
  struct Pixel {
    int x, y;
    COLORREF colour;
  };
  const struct {
    const wchar_t* name;
    LONG width, height;  // 0: no picture
    bool decoded;
    Pixel pixels[2];
  } cases[] = {
      {L"PICU", 8, 6, false, {{0, 0, RGB(255, 0, 0)}, {7, 5, RGB(255, 0, 0)}}},
      {L"PICD", 8, 6, false, {{0, 0, RGB(0, 255, 0)}, {7, 5, RGB(0, 255, 0)}}},  // 8-bit
      {L"PICU150", 12, 9, true, {{0, 0, RGB(255, 0, 0)}, {11, 8, RGB(255, 0, 0)}}},
      {L"PICX150", 12, 9, true, {{0, 0, RGB(128, 128, 128)}, {11, 8, RGB(128, 128, 128)}}},  // RGB
      {L"CORNERS", 5, 3, true, {{0, 0, RGB(255, 0, 0)}, {4, 2, RGB(0, 0, 255)}}},
      {L"DAMAGED", 0, 0, true, {}},
      {L"NOTPNG", 0, 0, true, {}},
      {L"MISSING", 0, 0, false, {}},
  };
  // The window's thread may have COM, of either kind, or not, or a window's
  // CPictureDecoding may hold it; none may change what loads, nor be left
  // changed.
  constexpr DWORD kNoCom = ~0u;
  constexpr DWORD kHeld = ~1u;
  for (DWORD com : {kNoCom, DWORD{COINIT_APARTMENTTHREADED}, DWORD{COINIT_MULTITHREADED}, kHeld}) {
    {
      CPictureDecoding held;
      if (com == kHeld) {
        held.Begin();
        held.Begin();
      } else if (com != kNoCom) {
        ASSERT_EQ(CoInitializeEx(nullptr, com), S_OK);
      }
      for (const auto& c : cases) {
        HBITMAP picture = AfxLoadPicture(c.name);
        if (c.width == 0) {
          EXPECT_EQ(picture, nullptr) << c.name;
          continue;
        }
        ASSERT_NE(picture, nullptr) << c.name << " with COM " << com;
        DIBSECTION dib{};
        const int filled = GetObjectW(picture, sizeof dib, &dib);
        EXPECT_EQ(dib.dsBm.bmWidth, c.width) << c.name;
        EXPECT_EQ(dib.dsBm.bmHeight, c.height) << c.name;
        if (c.decoded) {
          EXPECT_EQ(filled, static_cast<int>(sizeof dib)) << c.name << " is a DIB section";
          EXPECT_EQ(dib.dsBmih.biBitCount, 24) << c.name;
          EXPECT_GT(dib.dsBmih.biHeight, 0) << c.name << " is bottom-up";
        }
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, picture);
        for (const Pixel& p : c.pixels) {
          EXPECT_EQ(GetPixel(memory, p.x, p.y), p.colour) << c.name << " at " << p.x << "," << p.y;
        }
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(picture);
      }
      if (com != kNoCom) {
        // Still initialised as before the loads: S_FALSE for the same kind again.
        EXPECT_EQ(CoInitializeEx(nullptr, com == kHeld ? DWORD{COINIT_APARTMENTTHREADED} : com), S_FALSE) << com;
        CoUninitialize();
        if (com != kHeld) CoUninitialize();
      }
    }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "COM left initialised, " << com;
    CoUninitialize();
  }
}

// Hands out the text that cookie points to, then ends the stream.
DWORD CALLBACK StreamText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered) {
  auto* text = reinterpret_cast<const char**>(cookie);
  LONG count = 0;
  for (; count < wanted && (*text)[count] != '\0'; ++count) buffer[count] = static_cast<BYTE>((*text)[count]);
  *text += count;
  *delivered = count;
  return 0;
}

// Each typed call packs its arguments the way its message expects them.
TEST(Controls, TypedCallsPackTheirArgumentsAsTheirMessagesExpect) {
  TestDialog dialog([](TestDialog& d) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    CProgressCtrl progress;
    progress.Attach(CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 50, 10, d.m_hWnd, nullptr,
                                    nullptr, nullptr));
    progress.SetRange(10, 300);
    PBRANGE range{};
    progress.SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 10);
    EXPECT_EQ(range.iHigh, 300);

    HICON bigIcon = LoadIconW(nullptr, IDI_APPLICATION);
    HICON smallIcon = LoadIconW(nullptr, IDI_WARNING);
    d.SetIcon(bigIcon, TRUE);
    d.SetIcon(smallIcon, FALSE);
    EXPECT_EQ(reinterpret_cast<HICON>(d.SendMessage(WM_GETICON, ICON_BIG)), bigIcon);
    EXPECT_EQ(d.SetIcon(nullptr, FALSE), smallIcon) << "gives the icon it replaces";

    CRichEditCtrl rich;
    rich.Attach(d.GetDlgItem(IDC_TEST_RICH));
    const char* text = "streamed";
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, &StreamText};
    EXPECT_EQ(rich.StreamIn(SF_TEXT, stream), 8);
    EXPECT_EQ(TextOf(rich.m_hWnd), L"streamed");
    End(d, IDCANCEL);
  });
  dialog.DoModal();
}

}  // namespace

int main(int argc, char** argv) {
  // The dialog template holds a rich edit control.
  if (!AfxInitRichEdit()) return 2;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
