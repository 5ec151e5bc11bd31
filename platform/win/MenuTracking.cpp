// The menu loop: popup menus as windows of class "#32768" drawn in the classic look, the modal
// loop that tracks them by keyboard and mouse with the notifications their owner expects, and
// the menu bar in the non-client area of top-level windows.
#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

#include "win/Dialog.h"
#include "win/Menu.h"
#include "win/MenuInternal.h"
#include "win/ModalLoop.h"
#include "win/Extensions.h"
#include "win/WinKeys.h"
#include "win/WinSystem.h"

namespace brambolt::menus {
namespace {

constexpr int kBorder = 3;          // raised frame of a popup
constexpr int kSeparatorHeight = 8;
constexpr int kTextGap = 12;        // between an item's text and its accelerator text
constexpr int kBarItemPadding = 6;  // left and right of a menu bar item's text
constexpr int kColumnGap = 4;       // between the columns of a popup

HFONT MenuFont() {
  static HFONT font = [] {
    LOGFONT lf = NonClientFont(kMenuFont);
    return CreateFontIndirect(&lf);
  }();
  return font;
}

// The two parts of an item text: before and after the tab.
std::pair<std::string, std::string> SplitText(const std::string& text) {
  size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, std::string()};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

SIZE TextSize(HDC dc, const std::string& text, bool prefix) {
  RECT r{0, 0, 0, 0};
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r,
           DT_SINGLELINE | DT_CALCRECT | (prefix ? 0 : DT_NOPREFIX));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

int CheckWidth() { return GetSystemMetrics(SM_CXMENUCHECK); }

struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;
  std::vector<Item> items;
  std::vector<RECT> rects;  // client coordinates of the popup
  int selected = -1;
  std::vector<int> textWidths;  // where each item's accelerator text starts, from its left edge
};

struct Tracker {
  HWND owner = nullptr;
  UINT flags = 0;
  bool notify = true;
  bool system = false;
  std::vector<std::unique_ptr<Level>> levels;
  bool done = false;
  UINT chosen = 0;
  RECT exclude{0, 0, 0, 0};
  // Menu bar mode: the bar's menu and the index of its open item, or -1.
  HMENU bar = nullptr;
  int barItem = -1;
  int barMove = 0;  // a pending move along the bar: +1 the next item, -1 the previous one, or further
  bool barKeyboard = false;  // the bar was entered or moved along by keys (keyboard menu mode)
  // Entered by a lone Alt or F10: letters name the bar's items until keys move in the popup.
  bool barLetters = false;
  // Esc closed the bar item's popup: the bar keeps the focus with the item highlighted.
  bool barFocus = false;
  HMENU measuring = nullptr;  // the menu whose items are being measured
};

thread_local Tracker* t_tracker = nullptr;

void Notify(Tracker& t, UINT message, WPARAM wParam, LPARAM lParam) {
  if (t.notify && IsWindow(t.owner)) SendMessage(t.owner, message, wParam, lParam);
}

// ---- layout and painting of a popup ----

// A new column starts at an item with MF_MENUBREAK or MF_MENUBARBREAK (this one with a line in
// the gap before it).
bool StartsColumn(const Item& it) { return (it.type & (MF_MENUBREAK | MF_MENUBARBREAK)) != 0; }

// Lays the items out in columns: text items as wide as the column's widest text and accelerator
// text, owner-drawn ones as high as WM_MEASUREITEM answers (the height of the system font given to
// start from) and two average characters of the menu font wider, the columns side by side with a
// gap between them.
void Measure(Tracker& t, Level& level) {
  t.measuring = level.menu;
  level.items = Items(level.menu).value_or(std::vector<Item>());
  const size_t count = level.items.size();
  level.rects.assign(count, RECT{});
  level.textWidths.assign(count, 0);
  HDC dc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, MenuFont());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  int lineHeight = std::max<int>(tm.tmHeight + 4, GetSystemMetrics(SM_CYMENU) - 1);
  const UINT givenHeight = HIWORD(GetDialogBaseUnits());
  const int drawnMargin = 2 * tm.tmAveCharWidth;
  std::vector<int> heights(count), drawnWidths(count, 0), lefts(count, 0), rights(count, 0);
  for (size_t i = 0; i < count; ++i) {
    Item& it = level.items[i];
    if (it.IsSeparator()) {
      heights[i] = kSeparatorHeight;
      continue;
    }
    if (it.IsOwnerDraw()) {
      MEASUREITEMSTRUCT mis{ODT_MENU, 0, it.id, 0, givenHeight, it.data};
      if (IsWindow(t.owner)) SendMessage(t.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
      heights[i] = static_cast<int>(mis.itemHeight);
      drawnWidths[i] = static_cast<int>(mis.itemWidth) + drawnMargin;
      continue;
    }
    auto [left, right] = SplitText(it.text);
    lefts[i] = TextSize(dc, left, true).cx;
    if (!right.empty()) rights[i] = TextSize(dc, right, false).cx;
    heights[i] = lineHeight;
  }
  SelectObject(dc, oldFont);
  ReleaseDC(nullptr, dc);
  t.measuring = nullptr;
  const int check = CheckWidth() + 4;
  int x = kBorder;
  for (size_t first = 0; first < count;) {
    size_t last = first + 1;
    while (last < count && !StartsColumn(level.items[last])) ++last;
    int leftWidth = 0, rightWidth = 0, drawnWidth = 0;
    bool texts = false;
    for (size_t i = first; i < last; ++i) {
      leftWidth = std::max(leftWidth, lefts[i]);
      rightWidth = std::max(rightWidth, rights[i]);
      drawnWidth = std::max(drawnWidth, drawnWidths[i]);
      texts = texts || !level.items[i].IsOwnerDraw();
    }
    const int textColumn = check + leftWidth + (rightWidth > 0 ? kTextGap + rightWidth : 0) + check;
    const int width = std::max(texts ? textColumn : 0, drawnWidth);
    int y = kBorder;
    for (size_t i = first; i < last; ++i) {
      level.rects[i] = RECT{x, y, x + width, y + heights[i]};
      level.textWidths[i] = check + leftWidth;
      y += heights[i];
    }
    x += width + kColumnGap;
    first = last;
  }
}

SIZE PopupSize(const Level& level) {
  if (level.rects.empty()) return SIZE{60 + 2 * kBorder, 2 * kBorder};
  int right = 0, bottom = 0;
  for (const RECT& r : level.rects) {
    right = std::max<int>(right, r.right);
    bottom = std::max<int>(bottom, r.bottom);
  }
  return SIZE{right + kBorder, bottom + kBorder};
}

void DrawMenuText(HDC dc, const std::string& text, RECT r, UINT format, bool disabled, bool selected) {
  if (disabled && !selected) {
    DrawDisabledText(dc, text.c_str(), static_cast<int>(text.size()), r, format);
    return;
  }
  if (disabled) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  }
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// The arrow at the right end of an item that opens a submenu.
void PaintSubmenuArrow(HDC dc, const RECT& r, bool selected, bool disabled) {
  const int check = CheckWidth();
  RECT arrow{r.right - check, r.top + (r.bottom - r.top - check) / 2, r.right, r.top + (r.bottom - r.top - check) / 2 + check};
  const int colour = selected ? COLOR_HIGHLIGHTTEXT : disabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT;
  DrawMenuGlyph(dc, arrow, DFCS_MENUARROW, GetSysColor(colour));
}

// Asks the owner of an owner-drawn item to draw it whole into `dc` at `r`.
void SendDrawItem(HWND owner, HMENU menu, const Item& it, HDC dc, const RECT& r, bool selected) {
  const UINT state = (selected ? ODS_SELECTED : 0) | ((it.state & MF_CHECKED) ? ODS_CHECKED : 0) |
                     ((it.state & MF_GRAYED) ? ODS_GRAYED : 0) | ((it.state & MF_DISABLED) ? ODS_DISABLED : 0);
  DRAWITEMSTRUCT dis{ODT_MENU, 0, it.id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu), dc, r, it.data};
  if (IsWindow(owner)) SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

void PaintItem(Tracker& t, Level& level, HDC dc, size_t i) {
  const Item& it = level.items[i];
  RECT r = level.rects[i];
  bool selected = static_cast<int>(i) == level.selected;
  bool disabled = it.IsDisabled();
  if (it.IsOwnerDraw()) {
    SendDrawItem(t.owner, level.menu, it, dc, r, selected);
    // As on Windows, the system adds a submenu's arrow to an owner-drawn item.
    if (it.sub != nullptr) PaintSubmenuArrow(dc, r, selected, disabled);
    return;
  }
  FillRect(dc, &r, GetSysColorBrush(selected && !it.IsSeparator() ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (it.IsSeparator()) {
    RECT line{r.left, r.top + kSeparatorHeight / 2 - 1, r.right, r.top + kSeparatorHeight / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  int check = CheckWidth();
  if (it.state & MF_CHECKED) {
    RECT box{r.left + 2, r.top + (r.bottom - r.top - check) / 2, r.left + 2 + check,
             r.top + (r.bottom - r.top - check) / 2 + check};
    DrawFrameControl(dc, &box, DFC_MENU, (it.type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  SetBkMode(dc, TRANSPARENT);
  auto [left, right] = SplitText(it.text);
  RECT text{r.left + check + 4, r.top, r.right, r.bottom};
  DrawMenuText(dc, left, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, disabled, selected);
  if (!right.empty()) {
    RECT accel{r.left + level.textWidths[i] + kTextGap, r.top, r.right - check, r.bottom};
    DrawMenuText(dc, right, accel, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX, disabled, selected);
  }
  if (it.sub != nullptr) PaintSubmenuArrow(dc, r, selected, disabled);
}

Level* LevelOf(HWND window) {
  if (t_tracker == nullptr) return nullptr;
  for (auto& level : t_tracker->levels)
    if (level->window == window) return level.get();
  return nullptr;
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
      DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
      if (Level* level = LevelOf(hwnd)) {
        HGDIOBJ old = SelectObject(dc, MenuFont());
        for (size_t i = 0; i < level->items.size(); ++i) {
          PaintItem(*t_tracker, *level, dc, i);
          if (i > 0 && (level->items[i].type & MF_MENUBARBREAK)) {
            const int x = level->rects[i].left - kColumnGap / 2 - 1;
            RECT line{x, kBorder, x + 2, client.bottom - kBorder};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
          }
        }
        SelectObject(dc, old);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case MN_GETHMENU: {
      Level* level = LevelOf(hwnd);
      return reinterpret_cast<LRESULT>(level ? level->menu : nullptr);
    }
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void RegisterPopupClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASS wc{};
    wc.style = CS_SAVEBITS | CS_DBLCLKS;
    wc.lpfnWndProc = PopupProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = MENU_WINDOW_CLASS;
    RegisterClass(&wc);
  });
}

// ---- selection ----

void Redraw(Level& level) {
  if (level.window != nullptr) {
    InvalidateRect(level.window, nullptr, FALSE);
    UpdateWindow(level.window);
  }
}

void Select(Tracker& t, Level& level, int index) {
  if (level.selected == index) return;
  if (level.selected >= 0) SetHilite(level.menu, level.selected, false);
  level.selected = index;
  if (index >= 0) SetHilite(level.menu, index, true);
  Redraw(level);
  if (index >= 0) {
    const Item& it = level.items[static_cast<size_t>(index)];
    UINT flags = (it.state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) | MF_HILITE | (it.type & (MF_OWNERDRAW | MF_SEPARATOR | MF_BITMAP)) |
                 (it.sub != nullptr ? MF_POPUP : 0) | (t.system ? MF_SYSMENU : 0);
    UINT id = it.sub != nullptr ? static_cast<UINT>(index) : it.id;
    Notify(t, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(level.menu));
  }
}

void CloseLevelsAbove(Tracker& t, size_t keep) {
  while (t.levels.size() > keep) {
    std::unique_ptr<Level> level = std::move(t.levels.back());
    t.levels.pop_back();
    if (level->selected >= 0) SetHilite(level->menu, level->selected, false);
    if (level->window != nullptr) DestroyWindow(level->window);
    Notify(t, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level->menu), 0);
  }
}

// Shows a popup with its top-left corner near (x, y), kept on the screen; anchor is the item
// (screen coordinates) that opened it, or the exclusion rectangle of TrackPopupMenuEx.
void OpenLevel(Tracker& t, HMENU menu, int x, int y, UINT align, const RECT* anchor, bool submenuOfItem) {
  auto level = std::make_unique<Level>();
  level->menu = menu;
  Measure(t, *level);
  SIZE size = PopupSize(*level);
  SIZE screen = GetScreenSize();
  if (align & TPM_CENTERALIGN) x -= size.cx / 2;
  else if (align & TPM_RIGHTALIGN) x -= size.cx;
  if (align & TPM_VCENTERALIGN) y -= size.cy / 2;
  else if (align & TPM_BOTTOMALIGN) y -= size.cy;
  if (submenuOfItem && anchor != nullptr) {
    if (x + size.cx > screen.cx) x = anchor->left - size.cx + kBorder;
  } else {
    if (x + size.cx > screen.cx) x = std::max(0, static_cast<int>(screen.cx - size.cx));
    if (y + size.cy > screen.cy) y = std::max(0, static_cast<int>(y - size.cy));
    if (anchor != nullptr && anchor->right > anchor->left) {
      RECT menuRect{x, y, x + size.cx, y + size.cy}, overlap;
      if (IntersectRect(&overlap, &menuRect, anchor)) {
        if (align & TPM_VERTICAL)
          y = anchor->bottom + size.cy <= screen.cy ? anchor->bottom : anchor->top - size.cy;
        else
          x = anchor->right + size.cx <= screen.cx ? anchor->right : anchor->left - size.cx;
      }
    }
  }
  x = std::max(0, x);
  y = std::max(0, y);
  RegisterPopupClass();
  level->window = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MENU_WINDOW_CLASS, "", WS_POPUP, x, y, size.cx,
                                 size.cy, t.owner, nullptr, nullptr, nullptr);
  std::vector<RECT> onScreen = level->rects;
  for (RECT& r : onScreen) MapWindowPoints(level->window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  SetShownRects(menu, std::move(onScreen));
  Level* shown = level.get();
  t.levels.push_back(std::move(level));
  SetWindowPos(shown->window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(shown->window);
}

// Opens the submenu of the selected item of the deepest level.
bool OpenSelectedSubmenu(Tracker& t, bool selectFirst) {
  Level& level = *t.levels.back();
  if (level.selected < 0) return false;
  const Item& it = level.items[static_cast<size_t>(level.selected)];
  if (it.sub == nullptr || it.IsDisabled() || !Usable(it.sub)) return false;
  Notify(t, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(it.sub), MAKELPARAM(level.selected, t.system ? 1 : 0));
  RECT item = level.rects[static_cast<size_t>(level.selected)];
  MapWindowPoints(level.window, nullptr, reinterpret_cast<POINT*>(&item), 2);
  OpenLevel(t, it.sub, item.right - kBorder, item.top - kBorder, 0, &item, true);
  Level& sub = *t.levels.back();
  if (selectFirst) {
    for (size_t i = 0; i < sub.items.size(); ++i)
      if (!sub.items[i].IsSeparator()) {
        Select(t, sub, static_cast<int>(i));
        break;
      }
  }
  return true;
}

void Choose(Tracker& t, const Item& it) {
  if (it.IsDisabled() || it.IsSeparator() || it.sub != nullptr) return;
  t.chosen = it.id;
  t.done = true;
}

// Moves the selection of a level by step, skipping separators, wrapping around.
void Step(Tracker& t, Level& level, int step) {
  int count = static_cast<int>(level.items.size());
  if (count == 0) return;
  int index = level.selected;
  for (int n = 0; n < count; ++n) {
    index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
    if (!level.items[static_cast<size_t>(index)].IsSeparator()) {
      Select(t, level, index);
      return;
    }
  }
}

// A letter given to the bar's items while the popup of one is open: the popup of the item it
// names opens (the one open stays), and a disabled item's letter ends the menu mode.
bool PressBarMnemonic(Tracker& t, unsigned key) {
  if (t.bar == nullptr || t.levels.size() != 1 || key == 0) return false;
  const auto items = Items(t.bar).value_or(std::vector<Item>());
  const auto it = std::find_if(items.begin(), items.end(), [&](const Item& i) { return Mnemonic(i.text) == key; });
  if (it == items.end()) return false;
  const int index = static_cast<int>(it - items.begin());
  t.barLetters = false;
  if (index == t.barItem && !it->IsDisabled()) return true;
  t.done = true;
  t.barMove = it->IsDisabled() ? 0 : index - t.barItem;
  return true;
}

void PressMnemonic(Tracker& t, UINT ch) {
  Level& level = *t.levels.back();
  unsigned key = static_cast<unsigned>(std::toupper(static_cast<int>(ch & 0xFF)));
  // Right after a lone Alt or F10 the letters are the bar's, as the bar has the focus.
  if (t.barLetters && PressBarMnemonic(t, key)) return;
  std::vector<int> matches;
  for (size_t i = 0; i < level.items.size(); ++i)
    if (!level.items[i].IsSeparator() && Mnemonic(level.items[i].text) == key) matches.push_back(static_cast<int>(i));
  if (matches.empty()) {
    // The owner may know the items it draws itself.
    LRESULT answer = 0;
    if (IsWindow(t.owner))
      answer = SendMessage(t.owner, WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP | (t.system ? MF_SYSMENU : 0)),
                           reinterpret_cast<LPARAM>(level.menu));
    int index = static_cast<short>(LOWORD(answer));
    switch (HIWORD(answer)) {
      case MNC_EXECUTE:
        if (index >= 0 && index < static_cast<int>(level.items.size())) {
          Select(t, level, index);
          if (!OpenSelectedSubmenu(t, true)) Choose(t, level.items[static_cast<size_t>(index)]);
        }
        break;
      case MNC_SELECT:
        if (index >= 0 && index < static_cast<int>(level.items.size())) Select(t, level, index);
        break;
      case MNC_CLOSE: t.done = true; break;
      default:
        if (!PressBarMnemonic(t, key)) MessageBeep(0);
        break;
    }
    return;
  }
  if (matches.size() > 1) {
    // Several items share the letter: each press selects the next of them.
    auto next = std::find_if(matches.begin(), matches.end(), [&](int i) { return i > level.selected; });
    Select(t, level, next != matches.end() ? *next : matches.front());
    return;
  }
  Select(t, level, matches.front());
  if (level.items[static_cast<size_t>(matches.front())].IsDisabled()) {
    // The letter of a disabled item chooses nothing and ends the menu mode.
    t.done = true;
    t.barMove = 0;
    return;
  }
  if (!OpenSelectedSubmenu(t, true)) Choose(t, level.items[static_cast<size_t>(matches.front())]);
}

bool HandleKey(Tracker& t, const MSG& msg) {
  Level& level = *t.levels.back();
  // Keys that move in the popup give the letters to its items.
  switch (msg.wParam) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_RETURN: t.barLetters = false; break;
    default: break;
  }
  switch (msg.wParam) {
    case VK_UP: Step(t, level, -1); return true;
    case VK_DOWN: Step(t, level, +1); return true;
    case VK_HOME: level.selected = -1; Step(t, level, +1); return true;
    case VK_END: level.selected = -1; Step(t, level, -1); return true;
    case VK_RIGHT:
      if (!OpenSelectedSubmenu(t, true) && t.bar != nullptr) {
        t.barMove = +1;
        t.done = true;
      }
      return true;
    case VK_LEFT:
      if (t.levels.size() > 1) {
        CloseLevelsAbove(t, t.levels.size() - 1);
      } else if (t.bar != nullptr) {
        t.barMove = -1;
        t.done = true;
      }
      return true;
    case VK_ESCAPE:
      if (t.levels.size() > 1) {
        CloseLevelsAbove(t, t.levels.size() - 1);
      } else {
        // A bar item's popup closes and the bar keeps the focus; while the bar's letters are
        // still the ones that count (right after a lone Alt or F10) the bar had it already, and
        // Esc leaves the menu mode.
        t.barFocus = t.bar != nullptr && !t.barLetters;
        t.done = true;
      }
      return true;
    case VK_RETURN:
      if (level.selected >= 0 && !OpenSelectedSubmenu(t, true)) Choose(t, level.items[static_cast<size_t>(level.selected)]);
      return true;
    case VK_MENU:
    case VK_F10: t.done = true; return true;
    case VK_F1: {
      // Help on the highlighted item, asked of the menu's owner while the menu stays open.
      HELPINFO info{};
      info.cbSize = sizeof(info);
      info.iContextType = HELPINFO_MENUITEM;
      info.iCtrlId = level.selected >= 0 ? static_cast<int>(level.items[static_cast<size_t>(level.selected)].id) : 0;
      info.hItemHandle = reinterpret_cast<HANDLE>(level.menu);
      info.MousePos = msg.pt;
      if (IsWindow(t.owner)) SendMessage(t.owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
      return true;
    }
    default: {
      // Other keys may make characters: the mnemonics.
      MSG copy = msg;
      TranslateMessage(&copy);
      return true;
    }
  }
}

// The level and item under a screen point; level -1 when the point is outside every popup.
std::pair<int, int> HitTest(Tracker& t, POINT screen) {
  for (int l = static_cast<int>(t.levels.size()) - 1; l >= 0; --l) {
    Level& level = *t.levels[static_cast<size_t>(l)];
    RECT window;
    GetWindowRect(level.window, &window);
    if (!PtInRect(&window, screen)) continue;
    POINT client = screen;
    ScreenToClient(level.window, &client);
    for (size_t i = 0; i < level.rects.size(); ++i)
      if (PtInRect(&level.rects[i], client)) return {l, static_cast<int>(i)};
    return {l, -1};
  }
  return {-1, -1};
}

bool HandleMouse(Tracker& t, const MSG& msg) {
  POINT screen = msg.pt;
  auto [l, index] = HitTest(t, screen);
  bool release = msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP;
  bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN;
  if (l < 0) {
    // A press outside every popup cancels the menu.
    if (press) t.done = true;
    return true;
  }
  if (msg.message == WM_RBUTTONUP && !(t.flags & TPM_RIGHTBUTTON)) return true;
  if (index < 0) return true;
  CloseLevelsAbove(t, static_cast<size_t>(l) + 1);
  Level& level = *t.levels.back();
  const Item& it = level.items[static_cast<size_t>(index)];
  if (it.IsSeparator()) {
    Select(t, level, -1);
    return true;
  }
  Select(t, level, index);
  if (it.sub != nullptr) {
    OpenSelectedSubmenu(t, false);
  } else if (release) {
    Choose(t, it);
  }
  return true;
}

bool PreTranslate(Tracker& t, MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return HandleKey(t, msg);
    case WM_KEYUP:
    case WM_SYSKEYUP: return true;
    case WM_CHAR:
    case WM_SYSCHAR: PressMnemonic(t, static_cast<UINT>(msg.wParam)); return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: return HandleMouse(t, msg);
    default: return false;
  }
}

// Runs the loop over the popup levels already opened; returns the chosen command (0 cancelled).
UINT RunLoop(Tracker& t) {
  HWND capture = t.levels.front()->window;
  SetCapture(capture);
  ModalLoopOptions options;
  options.filterCode = MSGF_MENU;
  options.idleOwner = t.notify ? t.owner : nullptr;
  options.preTranslate = [&t](MSG& msg) { return PreTranslate(t, msg); };
  options.done = [&t] { return t.done || t.levels.empty(); };
  RunModalLoop(capture, options);
  if (GetCapture() == capture) ReleaseCapture();
  return t.chosen;
}

void SendCommand(const Tracker& t, UINT id) {
  if (id == 0 || !IsWindow(t.owner)) return;
  if (t.system)
    PostMessage(t.owner, WM_SYSCOMMAND, id, 0);
  else
    PostMessage(t.owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool IsSystemMenuOf(HWND owner, HMENU menu) {
  return IsWindow(owner) && (GetWindowLong(owner, GWL_STYLE) & WS_SYSMENU) && GetSystemMenu(owner, FALSE) == menu;
}

// ---- the menu bar ----

struct BarLayout {
  std::vector<Item> items;
  std::vector<RECT> rects;  // relative to the bar's top-left
  int height = 0;
};

bool IsPredefinedBitmap(HBITMAP b) {
  auto v = reinterpret_cast<INT_PTR>(b);
  return v >= 1 && v <= 11;
}

// The width of a bitmap item on the bar: the predefined ones are the size of menu-bar buttons.
int BitmapItemWidth(const Item& it) {
  if (it.bitmap == HBMMENU_SYSTEM) return GetSystemMetrics(SM_CXSMICON) + 4;
  if (IsPredefinedBitmap(it.bitmap)) return GetSystemMetrics(SM_CXMENUSIZE);
  BITMAP bm{};
  if (it.bitmap != nullptr && GetObject(it.bitmap, sizeof(bm), &bm)) return bm.bmWidth + 4;
  return GetSystemMetrics(SM_CXMENUSIZE);
}

// The width of an owner-drawn item on the bar: what the window of the bar answers to
// WM_MEASUREITEM, with the margins every item of the bar has (the height it answers is not used:
// the item is as high as the bar's line). A window of another thread is not asked while the bar
// is laid out.
int OwnerDrawnBarItemWidth(HWND hwnd, const Item& it) {
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, it.id, 0, HIWORD(GetDialogBaseUnits()), it.data};
  if (IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId())
    SendMessage(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  return static_cast<int>(mis.itemWidth) + 2 * kBarItemPadding;
}

BarLayout LayoutBar(HWND hwnd, HMENU menu, int width) {
  BarLayout bar;
  bar.items = Items(menu).value_or(std::vector<Item>());
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  int line = GetSystemMetrics(SM_CYMENU);
  std::vector<int> widths;
  for (const Item& it : bar.items) {
    if (it.IsOwnerDraw())
      widths.push_back(OwnerDrawnBarItemWidth(hwnd, it));
    else if (it.type & MFT_BITMAP)
      widths.push_back(BitmapItemWidth(it));
    else
      widths.push_back(TextSize(dc, SplitText(it.text).first, true).cx + 2 * kBarItemPadding);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // Items from the first MFT_RIGHTJUSTIFY one on sit at the right end of the last line.
  size_t right = bar.items.size();
  for (size_t i = 0; i < bar.items.size(); ++i)
    if (bar.items[i].type & MFT_RIGHTJUSTIFY) {
      right = i;
      break;
    }
  int x = 0, y = 0;
  // An item is a pixel less high than its line.
  for (size_t i = 0; i < right; ++i) {
    int w = widths[i];
    if (x > 0 && x + w > width) {
      x = 0;
      y += line;
    }
    bar.rects.push_back(RECT{x, y, x + w, y + line - 1});
    x += w;
  }
  int group = 0;
  for (size_t i = right; i < bar.items.size(); ++i) group += widths[i];
  if (group > 0 && x > 0 && x + group > width) {
    x = 0;
    y += line;
  }
  int rx = std::max(x, width - group);
  for (size_t i = right; i < bar.items.size(); ++i) {
    bar.rects.push_back(RECT{rx, y, rx + widths[i], y + line - 1});
    rx += widths[i];
  }
  bar.height = bar.items.empty() ? line : y + line;
  return bar;
}

int BarHeight(HWND hwnd, HMENU menu, int width) { return LayoutBar(hwnd, menu, width).height; }

// A bitmap item of the bar: a maximised MDI child's icon, its caption buttons, or a bitmap.
void PaintBarBitmap(HDC dc, const Item& it, const RECT& r, bool hot) {
  if (it.bitmap == HBMMENU_SYSTEM) {
    auto owner = reinterpret_cast<HWND>(it.data);
    HICON icon = nullptr;
    if (IsWindow(owner)) {
      icon = reinterpret_cast<HICON>(SendMessage(owner, WM_GETICON, ICON_SMALL, 0));
      if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtr(owner, GCLP_HICONSM));
      if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtr(owner, GCLP_HICON));
    }
    int size = GetSystemMetrics(SM_CXSMICON);
    if (icon != nullptr)
      DrawIconEx(dc, r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, icon, size, size, 0,
               nullptr, DI_NORMAL);
    return;
  }
  if (IsPredefinedBitmap(it.bitmap)) {
    UINT kind = DFCS_CAPTIONCLOSE;
    if (it.bitmap == HBMMENU_MBAR_RESTORE || it.bitmap == HBMMENU_POPUP_RESTORE) kind = DFCS_CAPTIONRESTORE;
    if (it.bitmap == HBMMENU_MBAR_MINIMIZE || it.bitmap == HBMMENU_MBAR_MINIMIZE_D || it.bitmap == HBMMENU_POPUP_MINIMIZE)
      kind = DFCS_CAPTIONMIN;
    if (it.bitmap == HBMMENU_POPUP_MAXIMIZE) kind = DFCS_CAPTIONMAX;
    bool disabled = it.IsDisabled() || it.bitmap == HBMMENU_MBAR_CLOSE_D || it.bitmap == HBMMENU_MBAR_MINIMIZE_D;
    int bw = GetSystemMetrics(SM_CXMENUSIZE) - 2, bh = GetSystemMetrics(SM_CYMENUSIZE) - 4;
    RECT button{r.left + (r.right - r.left - bw) / 2, r.top + (r.bottom - r.top - bh) / 2, 0, 0};
    button.right = button.left + bw;
    button.bottom = button.top + bh;
    DrawFrameControl(dc, &button, DFC_CAPTION, kind | (hot ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
    return;
  }
  BITMAP bm{};
  if (it.bitmap == nullptr || !GetObject(it.bitmap, sizeof(bm), &bm)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, it.bitmap);
  BitBlt(dc, r.left + 2, r.top + (r.bottom - r.top - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void PaintBar(HWND hwnd, HMENU menu, HDC dc, const RECT& area) {
  BarLayout bar = LayoutBar(hwnd, menu, area.right - area.left);
  FillRect(dc, &area, GetSysColorBrush(COLOR_MENU));
  HGDIOBJ old = SelectObject(dc, MenuFont());
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < bar.items.size(); ++i) {
    const Item& it = bar.items[i];
    RECT r = bar.rects[i];
    OffsetRect(&r, area.left, area.top);
    bool hot = (it.state & MF_HILITE) != 0;
    if (it.IsOwnerDraw()) {
      SendDrawItem(hwnd, menu, it, dc, r, hot);
      continue;
    }
    if (it.type & MFT_BITMAP) {
      if (hot && it.sub != nullptr) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      PaintBarBitmap(dc, it, r, hot && it.sub == nullptr);
      continue;
    }
    if (hot) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    RECT text = r;
    if (hot) OffsetRect(&text, 1, 1);
    DrawMenuText(dc, SplitText(it.text).first, text, DT_SINGLELINE | DT_VCENTER | DT_CENTER, it.IsDisabled(), false);
  }
  SelectObject(dc, old);
}

// Where the bar ends on the screen: its left and right ends across the window inside the frame,
// and its bottom, right above the client area's 3-D edge (top and bottom of the result).
RECT BarEnds(HWND hwnd) {
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  const LONG style = GetWindowLong(hwnd, GWL_STYLE), exStyle = GetWindowLong(hwnd, GWL_EXSTYLE);
  int edge = (exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
  if (exStyle & WS_EX_STATICEDGE) edge += GetSystemMetrics(SM_CXBORDER);
  const int scroll = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  // The frame is as thick on both sides; the client area and its edge and scroll bar lie between.
  const int frame = std::max(0, static_cast<int>((window.right - window.left) - client.right - 2 * edge - scroll) / 2);
  return RECT{window.left + frame, origin.y - edge, window.right - frame, origin.y - edge};
}

// The screen rectangle of a bar item.
RECT BarItemRect(HWND hwnd, HMENU menu, int index) {
  const RECT ends = BarEnds(hwnd);
  BarLayout bar = LayoutBar(hwnd, menu, ends.right - ends.left);
  RECT r = bar.rects[static_cast<size_t>(index)];
  OffsetRect(&r, ends.left, ends.bottom - bar.height);
  return r;
}

// Tells the owner which bar item is highlighted.
void NotifyBarSelect(Tracker& t, HMENU menu, int index) {
  const auto items = Items(menu).value_or(std::vector<Item>());
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return;
  const Item& it = items[static_cast<size_t>(index)];
  const UINT flags = MF_HILITE | (it.sub != nullptr ? MF_POPUP : 0);
  Notify(t, WM_MENUSELECT, MAKEWPARAM(it.sub != nullptr ? static_cast<UINT>(index) : it.id, flags),
         reinterpret_cast<LPARAM>(menu));
}

// The bar has the keyboard focus, item `index` highlighted and no popup open (Esc closed it).
// Left and Right move along the bar; Down, Up and Enter open the item's popup; a letter opens
// the item it names (a disabled item's letter ends the menu mode); a click opens the item under
// it. Esc, Alt, F10 or a click off the bar end the menu mode. Returns the item to open (and in
// `keyboard` whether keys opened it), or -1 when the menu mode ends.
int FocusBar(Tracker& t, HWND hwnd, HMENU menu, int index, bool& keyboard) {
  const int count = GetMenuItemCount(menu);
  const auto items = Items(menu).value_or(std::vector<Item>());
  if (count <= 0 || static_cast<size_t>(count) != items.size()) return -1;
  t.done = false;
  t.barMove = 0;
  t.barKeyboard = true;
  int open = -1;
  const auto highlight = [&](int next) {
    SetHilite(menu, index, false);
    index = next;
    t.barItem = index;
    SetHilite(menu, index, true);
    DrawMenuBar(hwnd);
    NotifyBarSelect(t, menu, index);
  };
  const auto openItem = [&](int i, bool byKeys) {
    open = i;
    keyboard = byKeys;
    t.done = true;
  };
  ModalLoopOptions options;
  options.filterCode = MSGF_MENU;
  options.idleOwner = t.notify ? t.owner : nullptr;
  options.done = [&t] { return t.done; };
  options.preTranslate = [&](MSG& msg) {
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        switch (msg.wParam) {
          case VK_ESCAPE:
          case VK_MENU:
          case VK_F10: t.done = true; break;
          case VK_LEFT: highlight((index + count - 1) % count); break;
          case VK_RIGHT: highlight((index + 1) % count); break;
          case VK_UP:
          case VK_DOWN:
          case VK_RETURN:
            if (!items[static_cast<size_t>(index)].IsDisabled()) openItem(index, true);
            break;
          default: {
            // Other keys may make characters: the bar's mnemonics.
            MSG copy = msg;
            TranslateMessage(&copy);
            break;
          }
        }
        return true;
      case WM_CHAR:
      case WM_SYSCHAR: {
        const unsigned key = static_cast<unsigned>(std::toupper(static_cast<int>(msg.wParam & 0xFF)));
        const auto it = std::find_if(items.begin(), items.end(), [&](const Item& i) { return Mnemonic(i.text) == key; });
        if (it == items.end())
          MessageBeep(0);
        else if (it->IsDisabled())
          t.done = true;
        else
          openItem(static_cast<int>(it - items.begin()), true);
        return true;
      }
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
        t.done = true;
        for (int i = 0; i < count; ++i) {
          RECT r = BarItemRect(hwnd, menu, i);
          if (PtInRect(&r, msg.pt)) openItem(i, false);
        }
        return true;
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_NCMOUSEMOVE: return true;
      default: return false;
    }
  };
  SetCapture(hwnd);
  RunModalLoop(hwnd, options);
  if (GetCapture() == hwnd) ReleaseCapture();
  SetHilite(menu, index, false);
  return open;
}

// Tracks the menu bar from item `index`: its popup opens, Left and Right move along the bar.
// `barLetters`: entered by a lone Alt or F10, the first letters name the bar's items.
void TrackBar(HWND hwnd, HMENU menu, int index, bool keyboard, bool barLetters = false) {
  if (t_tracker != nullptr) return;
  Tracker t;
  t.owner = hwnd;
  t.bar = menu;
  t.barLetters = barLetters;
  t_tracker = &t;
  Notify(t, WM_ENTERMENULOOP, FALSE, 0);
  Notify(t, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
  int count = GetMenuItemCount(menu);
  UINT chosen = 0;
  for (int guard = 0; guard < 1000 && count > 0; ++guard) {
    t.barItem = index;
    t.barKeyboard = keyboard;
    SetHilite(menu, index, true);
    DrawMenuBar(hwnd);
    HMENU popup = GetSubMenu(menu, index);
    auto items = Items(menu).value_or(std::vector<Item>());
    if (index < 0 || static_cast<size_t>(index) >= items.size()) break;  // the owner changed the bar
    NotifyBarSelect(t, menu, index);
    if (popup == nullptr) {
      // A command on the bar itself.
      SetHilite(menu, index, false);
      if (!items[static_cast<size_t>(index)].IsDisabled()) chosen = items[static_cast<size_t>(index)].id;
      break;
    }
    if (items[static_cast<size_t>(index)].IsDisabled()) {
      // A disabled item opens nothing: moving along the bar passes it, else the menu mode ends.
      SetHilite(menu, index, false);
      if (t.barMove == 0) break;
      index = (index + (t.barMove > 0 ? 1 : -1) + count) % count;
      continue;
    }
    Notify(t, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, 0));
    RECT item = BarItemRect(hwnd, menu, index);
    t.done = false;
    t.barMove = 0;
    OpenLevel(t, popup, item.left, item.bottom, 0, &item, false);
    if (keyboard) Step(t, *t.levels.back(), +1);
    chosen = RunLoop(t);
    CloseLevelsAbove(t, 0);
    if (t.barFocus) {
      t.barFocus = false;
      index = FocusBar(t, hwnd, menu, index, keyboard);
      if (index < 0) break;
      t.barLetters = false;
      continue;
    }
    SetHilite(menu, index, false);
    if (t.barMove == 0) break;
    index = ((index + t.barMove) % count + count) % count;
    keyboard = true;
    t.barLetters = false;
  }
  DrawMenuBar(hwnd);
  Notify(t, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  Notify(t, WM_EXITMENULOOP, FALSE, 0);
  t_tracker = nullptr;
  SendCommand(t, chosen);
}

void KeyMenu(HWND hwnd, UINT key) {
  HMENU menu = GetMenu(hwnd);
  if (menu == nullptr) return;
  int index = 0;
  if (key != 0) {
    auto items = Items(menu).value_or(std::vector<Item>());
    unsigned wanted = static_cast<unsigned>(std::toupper(static_cast<int>(key & 0xFF)));
    auto it = std::find_if(items.begin(), items.end(), [&](const Item& i) { return Mnemonic(i.text) == wanted; });
    if (it == items.end()) {
      MessageBeep(0);
      return;
    }
    index = static_cast<int>(it - items.begin());
  } else {
    // A lone Alt or F10 starts at the first item that opens.
    auto items = Items(menu).value_or(std::vector<Item>());
    auto it = std::find_if(items.begin(), items.end(), [](const Item& i) { return !i.IsDisabled(); });
    if (it != items.end()) index = static_cast<int>(it - items.begin());
  }
  TrackBar(hwnd, menu, index, true, key == 0);
}

void MouseMenu(HWND hwnd, int hit, POINT screen) {
  HMENU menu = GetMenu(hwnd);
  if (menu == nullptr || hit != HTMENU) return;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    RECT r = BarItemRect(hwnd, menu, i);
    if (PtInRect(&r, screen)) {
      TrackBar(hwnd, menu, i, false);
      return;
    }
  }
}

}  // namespace

void InstallMenuBarHooks() {
  static std::once_flag once;
  std::call_once(once, [] {
    MenuBarHooks hooks;
    hooks.height = BarHeight;
    hooks.paint = PaintBar;
    hooks.keyMenu = KeyMenu;
    hooks.mouseMenu = MouseMenu;
    SetMenuBarHooks(hooks);
  });
}

}  // namespace brambolt::menus

HMENU brambolt::TrackedMenu() {
  const menus::Tracker* t = menus::t_tracker;
  if (t == nullptr) return nullptr;
  return !t->levels.empty() ? t->levels.front()->menu : t->measuring;
}

using namespace brambolt::menus;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
  if (!IsMenu(menu) || !IsWindow(owner)) {
    SetLastError(IsMenu(menu) ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  // One menu loop per thread.
  if (t_tracker != nullptr) return FALSE;
  Tracker t;
  t.owner = owner;
  t.flags = flags;
  t.notify = !(flags & TPM_NONOTIFY);
  t.system = IsSystemMenuOf(owner, menu);
  t_tracker = &t;
  Notify(t, WM_ENTERMENULOOP, TRUE, 0);
  Notify(t, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
  Notify(t, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, t.system ? 1 : 0));
  // A menu still empty once its owner had the chance to fill it shows nothing and chooses nothing.
  const bool empty = GetMenuItemCount(menu) <= 0;
  UINT chosen = 0;
  if (!empty) {
    RECT exclude = params != nullptr ? params->rcExclude : RECT{0, 0, 0, 0};
    OpenLevel(t, menu, x, y, flags, params != nullptr ? &exclude : nullptr, false);
    chosen = RunLoop(t);
  }
  CloseLevelsAbove(t, 0);
  // The menu closing is told only of a menu that was shown.
  if (!empty) Notify(t, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  Notify(t, WM_EXITMENULOOP, TRUE, 0);
  t_tracker = nullptr;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  SendCommand(t, chosen);
  return empty ? FALSE : TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  if (t_tracker == nullptr) return FALSE;
  t_tracker->done = true;
  t_tracker->barMove = 0;
  PostMessage(nullptr, WM_NULL, 0, 0);
  return TRUE;
}

HWND brambolt::MenuLoopOwner() { return t_tracker != nullptr ? t_tracker->owner : nullptr; }

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect) {
  if (rect == nullptr || !IsMenu(menu) || static_cast<int>(item) >= GetMenuItemCount(menu)) return FALSE;
  if (t_tracker != nullptr) {
    for (auto& level : t_tracker->levels) {
      if (level->menu != menu || item >= level->rects.size()) continue;
      *rect = level->rects[item];
      MapWindowPoints(level->window, nullptr, reinterpret_cast<POINT*>(rect), 2);
      return TRUE;
    }
  }
  if (hwnd != nullptr && GetMenu(hwnd) == menu) {
    *rect = BarItemRect(hwnd, menu, static_cast<int>(item));
    return TRUE;
  }
  // A popup no longer shown: where its items were when it last was.
  if (std::optional<RECT> shown = ShownRect(menu, item)) {
    *rect = *shown;
    return TRUE;
  }
  return FALSE;
}

BOOL GetMenuBarInfo(HWND hwnd, LONG idObject, LONG idItem, PMENUBARINFO info) {
  if (info == nullptr || info->cbSize != sizeof(MENUBARINFO) || idItem < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HMENU menu = nullptr;
  RECT bar{};
  if (idObject == OBJID_MENU) {
    menu = GetMenu(hwnd);
    if (menu == nullptr || (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) return FALSE;
    const int count = GetMenuItemCount(menu);
    if (idItem > count) return FALSE;
    if (idItem > 0) {
      bar = BarItemRect(hwnd, menu, idItem - 1);
    } else if (count > 0) {
      // The whole bar: from the first item's row down to the client area, across the window.
      RECT first = BarItemRect(hwnd, menu, 0);
      const RECT ends = BarEnds(hwnd);
      bar = RECT{ends.left, first.top, ends.right, ends.bottom};
    }
  } else if (idObject == OBJID_CLIENT) {
    Level* level = LevelOf(hwnd);
    if (level == nullptr) return FALSE;
    menu = level->menu;
    if (idItem > static_cast<LONG>(level->rects.size())) return FALSE;
    if (idItem == 0) {
      GetWindowRect(hwnd, &bar);
    } else {
      bar = level->rects[static_cast<size_t>(idItem - 1)];
      MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&bar), 2);
    }
  } else {
    return FALSE;
  }
  info->rcBar = bar;
  info->hMenu = menu;
  info->hwndMenu = nullptr;
  const bool tracking = t_tracker != nullptr && (idObject == OBJID_MENU ? t_tracker->bar == menu : LevelOf(hwnd) != nullptr);
  info->fBarFocused = tracking ? TRUE : FALSE;
  // The focus: the bar itself in keyboard menu mode, the popup that takes the keys (the last one
  // opened), else the selected item of the bar or popup.
  bool focused = false;
  if (tracking && idObject == OBJID_MENU)
    focused = idItem == 0 ? t_tracker->barKeyboard : idItem - 1 == t_tracker->barItem;
  else if (tracking && idItem == 0)
    focused = t_tracker->levels.back()->window == hwnd;
  else if (tracking)
    focused = LevelOf(hwnd)->selected == idItem - 1;
  info->fFocused = focused ? TRUE : FALSE;
  // A bar item's submenu, while it is open: its window.
  if (tracking && idObject == OBJID_MENU && idItem > 0 && focused && !t_tracker->levels.empty()) {
    const Level& open = *t_tracker->levels.front();
    if (open.menu == GetSubMenu(menu, idItem - 1)) info->hwndMenu = open.window;
  }
  return TRUE;
}
