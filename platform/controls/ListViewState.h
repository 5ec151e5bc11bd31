// The state of a list-view control ("SysListView32") and the operations its messages map to;
// ListView.cpp holds the items, columns and messages, ListViewLayout.cpp the geometry, painting
// and input.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/CommCtrl.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {

struct LvSubItem {
  std::string text;
  bool callback = false;
};

struct LvItem {
  std::string text;
  bool textCallback = false;
  int image = 0;
  UINT state = 0;  // LVIS_ bits, LVIS_FOCUSED and LVIS_SELECTED included
  LPARAM lParam = 0;
  int indent = 0;
  std::vector<LvSubItem> subItems;  // the texts of columns 1 and up
};

struct LvColumn {
  std::string text;
  int fmt = LVCFMT_LEFT;
  int width = 0;
  int subItem = 0;
  int image = -1;
};

class ListViewState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  // ---- items and columns (ListView.cpp)
  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  LvItem& Item(int i) { return *items_[static_cast<size_t>(i)]; }
  const LvItem& Item(int i) const { return *items_[static_cast<size_t>(i)]; }
  bool SingleSel() const { return (style_ & LVS_SINGLESEL) != 0; }
  int View() const { return static_cast<int>(style_ & LVS_TYPEMASK); }
  bool Report() const { return View() == LVS_REPORT; }
  // A virtual list (LVS_OWNERDATA): the parent holds the items, the list only their count, focus
  // and selection.
  bool OwnerData() const { return (style_ & LVS_OWNERDATA) != 0; }

  LRESULT Notify(UINT code, NMHDR* nm);
  LRESULT NotifyItem(UINT code, int item, int subItem = 0, UINT newState = 0, UINT oldState = 0, UINT changed = 0,
                     POINT action = POINT{0, 0});
  LRESULT NotifyActivate(UINT code, int item, int subItem, POINT action);
  // The text of an item or sub-item as shown, asking the parent for callback texts.
  std::string DisplayText(int item, int subItem);
  int DisplayImage(int item);
  // LVN_GETDISPINFO for the mask bits of `asked` (its item, sub-item and buffer filled in).
  void AskDisplayInfo(LVITEM& asked);

  int Insert(const LVITEM* item);
  int SortedPosition(const std::string& text) const;
  BOOL Delete(int index);
  BOOL DeleteAll();
  BOOL GetItem(LVITEM* item);
  BOOL SetItem(const LVITEM* item);
  int GetItemText(int index, LVITEM* item);
  // Changes the state bits of one item with LVN_ITEMCHANGING/ITEMCHANGED; false when refused.
  bool SetState(int index, UINT state, UINT mask);
  void SetStateAll(UINT state, UINT mask);
  // `index` is the focus item now; with no selection mark yet it becomes the mark too.
  void TakeFocus(int index) {
    focus_ = index;
    if (mark_ < 0) mark_ = index;
  }
  // Deselects every item but `keep` (-1: all).
  void DeselectAllBut(int keep);
  void SelectRange(int from, int to, bool deselectOthers);
  // A virtual list's range selection: told to the parent as one change of the whole range.
  void SelectVirtualRange(int from, int to, bool deselectOthers);
  // LVM_SETITEMCOUNT of a virtual list: items past the count go, new ones ask the parent.
  BOOL SetVirtualCount(int count);
  int NextItem(int start, UINT flags);
  int Neighbour(int index, UINT direction);
  int Find(int start, const LVFINDINFO* info);
  BOOL Sort(PFNLVCOMPARE compare, LPARAM lParamSort);

  int InsertColumn(int index, const LVCOLUMN* column);
  BOOL DeleteColumn(int index);
  BOOL GetColumn(int index, LVCOLUMN* column) const;
  BOOL SetColumn(int index, const LVCOLUMN* column);
  BOOL SetColumnWidth(int index, int width);
  int GetColumnWidth(int index) const;
  int ContentWidth(int column);
  void SyncHeaderItem(int index, UINT mask);
  LRESULT HeaderNotify(WPARAM wParam, NMHDR* nm);
  HIMAGELIST SetImageList(int which, HIMAGELIST list);
  // The state images of LVS_EX_CHECKBOXES: an unchecked and a checked box.
  static HIMAGELIST CheckBoxImages();

  // ---- label editing (ListViewEdit.cpp)
  HWND EditLabel(int index);
  void EndEdit(bool save);
  static bool WatchEdit(HWND watcher, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // ---- geometry, painting and input (ListViewLayout.cpp)
  HFONT Font() const;
  int TextWidth(const char* text) const;  // in the list's font
  int RowHeight() const { return rowHeight_; }
  // Widens the cached label width for the list and small-icon views by this item's label.
  void NoteLabel(int index);
  SIZE IconCell() const;
  int ListCellWidth();
  int HeaderHeight() const;
  RECT ListArea() const;
  int TotalColumnWidth() const;
  int ColumnLeft(int column) const;
  // The report column under a point inside the list (or anywhere, `beyondClient`), -1 for none
  // (and in the other views).
  int ColumnAt(POINT p, bool beyondClient = false) const;
  int FullRows() const;        // whole rows in the list area (report, list)
  int IconColumns();           // cells across (icon, small icon)
  int ListRows() const;        // rows per column (list)
  RECT ItemRect(int index, int code);
  RECT SubItemRect(int index, int subItem, int code);
  // The item under a point (-1: none) with LVHT_ flags and its column. Without full-row selection a
  // report row is hit only on its icon and label, unless `anyColumn`.
  int HitTest(POINT p, UINT* flags, int* subItem, bool anyColumn = false);
  int TopIndex() const;
  int CountPerPage();
  void EnsureVisible(int index, bool partialOk);
  void ScrollBy(int dx, int dy);  // pixels, or rows/columns as LVM_SCROLL counts them
  // Moves a scroll position within [0, last]; true when it moved (then the bars and the picture
  // follow).
  bool MoveScroll(int& position, int value, int last);
  int VisibleListColumns();  // whole list columns across (list)
  void SetTopRow(int row);
  void SetScrollY(int y);
  void SetFirstColumn(int column);
  void SetXOffset(int x);
  int ContentHeight();         // icon views
  void UpdateScroll();
  void LayoutHeader();
  void Relayout();
  void InvalidateItem(int index);
  void InvalidateFrom(int index);
  void Redraw();
  void Paint(HDC hdc);
  void PaintReportRow(HDC hdc, int index, const RECT& clip);
  void PaintIconItem(HDC hdc, int index);
  void PaintListItem(HDC hdc, int index);
  bool Highlighted(int index) const;
  // The item's image from list `which` in `icon`, with its overlay, and its state image left of a
  // small icon.
  void DrawImages(HDC hdc, int index, const RECT& icon, int which, bool highlighted);
  void DrawLabel(HDC hdc, const std::string& text, RECT r, UINT format, bool highlighted);

  void ButtonDown(UINT msg, WPARAM keys, POINT p);
  void MouseMove(POINT p);
  void ButtonUp(POINT p);
  void RightButtonDown(POINT p);
  void RightButtonUp(POINT p);
  void KeyDown(UINT vk);
  void MoveFocusTo(int index, bool shift, bool ctrl);
  void Search(char ch);
  void Scroll(int bar, WORD code, int thumb);

  HWND hwnd_ = nullptr;
  HWND header_ = nullptr;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  HFONT font_ = nullptr;
  std::vector<std::unique_ptr<LvItem>> items_;
  std::vector<LvColumn> columns_;
  HIMAGELIST images_[3] = {nullptr, nullptr, nullptr};  // LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE
  int focus_ = -1;
  int mark_ = -1;  // the selection mark, where Shift ranges start
  int selectedCount_ = 0;
  UINT callbackMask_ = 0;
  COLORREF bkColor_ = CLR_DEFAULT;
  COLORREF textColor_ = CLR_DEFAULT;
  COLORREF textBkColor_ = CLR_DEFAULT;
  int topRow_ = 0;       // report: first row shown
  int firstColumn_ = 0;  // list: first column shown
  int scrollY_ = 0;      // icon views: pixels scrolled down
  int xOffset_ = 0;      // report: pixels scrolled right
  int listColumnWidth_ = 0;  // list and small icon: 0 computes it from the labels
  int maxLabelWidth_ = -1;   // cached widest label; -1 when stale
  SIZE iconSpacing_{0, 0};
  int textHeight_ = 1;
  int rowHeight_ = 1;
  bool focused_ = false;
  bool redraw_ = true;
  bool updatingScroll_ = false;
  // The left button held on an item: where it went down, and whether the others are deselected
  // when it comes up without a drag (a click on a selected item keeps the selection for a drag).
  bool tracking_ = false;
  int trackItem_ = -1;
  POINT downPoint_{0, 0};
  bool deselectOnUp_ = false;
  std::string search_;
  DWORD searchTime_ = 0;
  HWND edit_ = nullptr;  // the label editor
  int editItem_ = -1;
  bool ending_ = false;
  // A click on the label of the focused, selected item of a focused list edits it once the
  // double-click time has passed without a second click.
  int armedItem_ = -1;
};

// The timer of the delayed label edit.
constexpr UINT_PTR kEditLabelTimer = 1;

}  // namespace brambolt::ctl
