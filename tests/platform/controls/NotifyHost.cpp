// The recording parent window of the header and list-view tests.
#include "NotifyHost.h"

#include "testing/UiTest.h"

namespace ctltest {
namespace {

constexpr char kHostClass[] = "BramboltNotifyHost";

bool IsHeaderCode(UINT code) { return code <= HDN_FIRST && code > HDN_FIRST - 100; }

// List-views send their clicks with an NMITEMACTIVATE; other controls with less.
bool IsListView(HWND hwnd) {
  char name[32] = {};
  GetClassName(hwnd, name, sizeof(name));
  return lstrcmpi(name, WC_LISTVIEW) == 0;
}

}  // namespace

NotifyHost::NotifyHost(int width, int height) {
  WNDCLASS wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = kHostClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
  RegisterClass(&wc);
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
  hwnd_ = CreateWindowEx(0, kHostClass, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30,
                         r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtr(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  brambolt::test::RunUntilIdle();
}

NotifyHost::~NotifyHost() {
  if (IsWindow(hwnd_)) {
    SetWindowLongPtr(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::vector<UINT> NotifyHost::Codes(bool withDisplayInfo) const {
  std::vector<UINT> codes;
  for (const Note& n : notes)
    if (withDisplayInfo || n.code != LVN_GETDISPINFO) codes.push_back(n.code);
  return codes;
}

std::vector<NotifyHost::Note> NotifyHost::Of(UINT code) const {
  std::vector<Note> out;
  for (const Note& n : notes)
    if (n.code == code) out.push_back(n);
  return out;
}

LRESULT CALLBACK NotifyHost::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NotifyHost*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  if (self == nullptr || msg != WM_NOTIFY || lParam == 0) return DefWindowProc(hwnd, msg, wParam, lParam);
  auto* nm = reinterpret_cast<NMHDR*>(lParam);
  Note note;
  note.code = nm->code;
  note.from = nm->hwndFrom;
  note.id = nm->idFrom;
  if (IsHeaderCode(nm->code)) {
    auto* hn = reinterpret_cast<NMHEADER*>(nm);
    note.item = hn->iItem;
    if (hn->pitem && (hn->pitem->mask & HDI_WIDTH)) note.width = hn->pitem->cxy;
  } else if (nm->code == LVN_GETDISPINFO || nm->code == LVN_BEGINLABELEDIT || nm->code == LVN_ENDLABELEDIT) {
    auto* di = reinterpret_cast<NMLVDISPINFO*>(nm);
    note.item = di->item.iItem;
    note.subItem = di->item.iSubItem;
    note.changed = di->item.mask;
    note.hasText = nm->code != LVN_GETDISPINFO && di->item.pszText != nullptr;
    if (note.hasText) note.text = di->item.pszText;
  } else if (nm->code == LVN_ODSTATECHANGED) {
    auto* od = reinterpret_cast<NMLVODSTATECHANGE*>(nm);
    note.item = od->iFrom;
    note.to = od->iTo;
    note.newState = od->uNewState;
    note.oldState = od->uOldState;
  } else if (nm->code == LVN_KEYDOWN) {
    note.key = reinterpret_cast<NMLVKEYDOWN*>(nm)->wVKey;
  } else if (nm->code <= LVN_FIRST && nm->code > LVN_FIRST - 100) {
    auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
    note.item = lv->iItem;
    note.subItem = lv->iSubItem;
    note.newState = lv->uNewState;
    note.oldState = lv->uOldState;
    note.changed = lv->uChanged;
    note.action = lv->ptAction;
  } else if ((nm->code == NM_CLICK || nm->code == NM_DBLCLK || nm->code == NM_RCLICK) && IsListView(nm->hwndFrom)) {
    auto* ia = reinterpret_cast<NMITEMACTIVATE*>(nm);
    note.item = ia->iItem;
    note.subItem = ia->iSubItem;
    note.action = ia->ptAction;
  }
  self->notes.push_back(note);
  return self->answer ? self->answer(nm) : 0;
}

}  // namespace ctltest
