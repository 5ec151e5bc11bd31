// Drag and drop: the drop targets registered for windows, the tracking of the target under a
// drag, and DoDragDrop's loop that follows the mouse, shows the effect and drops or cancels.
#include <cstring>
#include <map>
#include <mutex>

#include "backend/DropFiles.h"
#include "base/Convert.h"
#include "base/GlobalMemory.h"
#include "ole/DropTracker.h"
#include "win/ModalLoop.h"

namespace brambolt::ole {
namespace {

constexpr char kTrackerClass[] = "BramboltDragTracker";
// While the mouse stands still the target is asked again at this interval (drag scrolling).
constexpr UINT kRepeatMs = 50;
constexpr UINT_PTR kRepeatTimer = 1;

struct Registry {
  std::mutex mutex;
  std::map<HWND, LPDROPTARGET> targets;
};

Registry& Targets() {
  static Registry* r = new Registry;
  return *r;
}

LPDROPTARGET RegisteredTarget(HWND hwnd) {
  Registry& r = Targets();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.targets.find(hwnd);
  return it == r.targets.end() ? nullptr : it->second;
}

DWORD KeyState() {
  DWORD keys = 0;
  if (GetKeyState(VK_LBUTTON) < 0) keys |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) keys |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  if (GetKeyState(VK_MENU) < 0) keys |= MK_ALT;
  return keys;
}

bool Offers(LPDATAOBJECT data, CLIPFORMAT format) {
  FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return data->QueryGetData(&f) == S_OK;
}

// The effect a file-accepting window answers: a copy when the source allows one.
DWORD FileDropEffect(DWORD allowed) {
  for (DWORD e : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
    if (allowed & e) return e;
  return DROPEFFECT_NONE;
}

// The names of a dragged file list, read within the block's size.
std::vector<std::string> DroppedFiles(LPDATAOBJECT data) {
  FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  std::vector<std::string> names;
  if (FAILED(data->GetData(&f, &medium))) return names;
  auto drop = reinterpret_cast<HDROP>(medium.hGlobal);
  UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::string name(DragQueryFile(drop, i, nullptr, 0), '\0');
    DragQueryFile(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
    names.push_back(std::move(name));
  }
  ReleaseStgMedium(&medium);
  return names;
}

// What a drag offers another program: its file list and its text.
OutgoingDrag OfferOf(LPDATAOBJECT data) {
  OutgoingDrag offer;
  if (Offers(data, CF_HDROP)) offer.files = DroppedFiles(data);
  FORMATETC f{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (Offers(data, CF_TEXT) && SUCCEEDED(data->GetData(&f, &medium))) {
    SIZE_T size = GlobalSize(medium.hGlobal);
    if (const char* p = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
      offer.text = AnsiToUtf8(std::string_view(p, strnlen(p, size)));
      GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
  }
  return offer;
}

// No window of this program under the point: the drag is over another program's, if any.
bool BeyondProgram(POINT point) {
  HWND h = WindowFromPoint(point);
  return h == nullptr || h == GetDesktopWindow();
}

}  // namespace

DropTracker::DropTracker(LPDATAOBJECT data, DWORD allowed) : data_(data), allowed_(allowed) {}

HWND DropTracker::TargetWindow(LPDROPTARGET* target) const {
  HWND desktop = GetDesktopWindow();
  for (HWND h = WindowFromPoint(point_); h != nullptr && h != desktop; h = GetAncestor(h, GA_PARENT))
    if ((*target = RegisteredTarget(h)) != nullptr) return h;
  *target = nullptr;
  return nullptr;
}

LPDROPTARGET DropTracker::Current() const {
  if (targetWindow_ == nullptr || !IsWindow(targetWindow_)) return nullptr;
  LPDROPTARGET t = RegisteredTarget(targetWindow_);
  return t == target_ ? t : nullptr;
}

void DropTracker::LeaveOwn() {
  if (LPDROPTARGET t = Current()) t->DragLeave();
  targetWindow_ = nullptr;
  target_ = nullptr;
  fileWindow_ = nullptr;
}

void DropTracker::LeaveForeign() {
  if (!foreign_) return;
  foreign_ = false;
  if (ForeignDragSource* source = GetForeignDragSource()) source->DragLeave();
}

void DropTracker::Leave() {
  LeaveOwn();
  LeaveForeign();
  effect_ = DROPEFFECT_NONE;
}

DWORD DropTracker::Move(POINT point, DWORD keys) {
  point_ = point;
  keys_ = keys;
  LPDROPTARGET target = nullptr;
  HWND window = TargetWindow(&target);
  ForeignDragSource* source = GetForeignDragSource();
  if (window == nullptr && source != nullptr && BeyondProgram(point_)) {
    LeaveOwn();
    if (!offer_) offer_ = OfferOf(data_);
    foreign_ = true;
    effect_ = source->DragOver(point_, keys_, allowed_, *offer_) & allowed_;
    return effect_;
  }
  LeaveForeign();
  POINTL at{point_.x, point_.y};
  DWORD effect = allowed_;
  if (window != targetWindow_ || target != target_ || Current() == nullptr) {
    Leave();
    targetWindow_ = window;
    target_ = target;
    if (target == nullptr || FAILED(target->DragEnter(data_, keys_, at, &effect))) effect = DROPEFFECT_NONE;
  } else if (FAILED(target->DragOver(keys_, at, &effect))) {
    effect = DROPEFFECT_NONE;
  }
  if (target_ == nullptr) {
    fileWindow_ = Offers(data_, CF_HDROP) ? DropTargetAt(point_) : nullptr;
    effect = fileWindow_ ? FileDropEffect(allowed_) : DROPEFFECT_NONE;
  }
  effect_ = effect & (allowed_ | DROPEFFECT_SCROLL);
  return effect_;
}

DWORD DropTracker::Drop(DWORD keys) {
  keys_ = keys;
  POINTL at{point_.x, point_.y};
  if (foreign_ && (effect_ & ~DROPEFFECT_SCROLL) != DROPEFFECT_NONE) {
    foreign_ = false;
    effect_ = DROPEFFECT_NONE;
    ForeignDragSource* source = GetForeignDragSource();
    return source != nullptr ? source->Drop(keys_) & allowed_ : DROPEFFECT_NONE;
  }
  if ((effect_ & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE) {
    Leave();
    return DROPEFFECT_NONE;
  }
  DWORD result = DROPEFFECT_NONE;
  if (LPDROPTARGET t = Current()) {
    // The target may destroy its window (and itself) in Drop: nothing of it is touched after.
    targetWindow_ = nullptr;
    target_ = nullptr;
    DWORD effect = allowed_;
    if (FAILED(t->Drop(data_, keys_, at, &effect))) effect = DROPEFFECT_NONE;
    result = effect & allowed_;
  } else if (fileWindow_ != nullptr && IsWindow(fileWindow_)) {
    result = DropFiles(point_, DroppedFiles(data_)) ? effect_ & ~DROPEFFECT_SCROLL : DROPEFFECT_NONE;
  }
  fileWindow_ = nullptr;
  effect_ = DROPEFFECT_NONE;
  return result;
}

namespace {

// One drag of this program: the modal loop that follows the mouse, asks the source whether to
// go on, and shows the effect.
class Drag {
 public:
  Drag(LPDATAOBJECT data, LPDROPSOURCE source, DWORD allowed) : source_(source), tracker_(data, allowed) {}

  HRESULT Run(DWORD* effect) {
    WNDCLASS wc{};
    wc.lpfnWndProc = TrackerProc;
    wc.lpszClassName = kTrackerClass;
    RegisterClass(&wc);
    window_ = CreateWindowEx(0, kTrackerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (window_ == nullptr) return E_OUTOFMEMORY;
    SetCapture(window_);
    SetTimer(window_, kRepeatTimer, kRepeatMs, nullptr);
    keys_ = KeyState();
    GetCursorPos(&point_);
    Move();
    ModalLoopOptions options;
    options.filterCode = MSGF_USER;
    options.preTranslate = [this](MSG& msg) { return Filter(msg); };
    options.done = [this] { return result_ != S_OK; };
    RunModalLoop(window_, options);
    if (result_ == S_OK) result_ = DRAGDROP_S_CANCEL;  // the loop ended some other way
    DWORD dropped = DROPEFFECT_NONE;
    if (result_ == DRAGDROP_S_DROP) {
      dropped = tracker_.Drop(keys_);
    } else {
      tracker_.Leave();
    }
    if (dropped == DROPEFFECT_NONE) result_ = DRAGDROP_S_CANCEL;
    KillTimer(window_, kRepeatTimer);
    if (GetCapture() == window_) ReleaseCapture();
    DestroyWindow(window_);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    *effect = dropped;
    return result_;
  }

 private:
  static LRESULT CALLBACK TrackerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) return TRUE;  // the drag chooses the cursor
    return DefWindowProc(hwnd, message, wParam, lParam);
  }

  // Input during the drag goes to the drag alone.
  bool Filter(MSG& msg) {
    bool mouse = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
    bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    bool repeat = msg.message == WM_TIMER && msg.hwnd == window_ && msg.wParam == kRepeatTimer;
    if (msg.message == WM_CAPTURECHANGED || (!mouse && !key && !repeat)) {
      if (GetCapture() != window_ && result_ == S_OK) result_ = DRAGDROP_S_CANCEL;
      return false;
    }
    bool escape = msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
    DWORD keys = KeyState();
    POINT point = mouse ? msg.pt : point_;
    HRESULT hr = source_->QueryContinueDrag(escape ? TRUE : FALSE, keys);
    if (hr == DRAGDROP_S_DROP || hr == DRAGDROP_S_CANCEL) {
      point_ = point;
      keys_ = keys;
      result_ = hr;
      return true;
    }
    if (repeat || keys != keys_ || point.x != point_.x || point.y != point_.y) {
      keys_ = keys;
      point_ = point;
      Move();
    }
    return true;
  }

  void Move() {
    DWORD effect = tracker_.Move(point_, keys_);
    // The default cursors: no entry where nothing is taken, else the arrow with the effect's page.
    if (source_->GiveFeedback(effect) == DRAGDROP_S_USEDEFAULTCURSORS)
      SetCursor(brambolt::GetDragEffectCursor(effect & ~DROPEFFECT_SCROLL));
  }

  LPDROPSOURCE source_;
  DropTracker tracker_;
  HWND window_ = nullptr;
  POINT point_{};
  DWORD keys_ = 0;
  HRESULT result_ = S_OK;
};

}  // namespace
}  // namespace brambolt::ole

HRESULT RegisterDragDrop(HWND hwnd, LPDROPTARGET pDropTarget) {
  if (hwnd == nullptr || !IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
  if (pDropTarget == nullptr) return E_INVALIDARG;
  auto& r = brambolt::ole::Targets();
  std::lock_guard<std::mutex> lock(r.mutex);
  // A handle reused after its window died may still be listed.
  for (auto it = r.targets.begin(); it != r.targets.end();) {
    if (!IsWindow(it->first)) {
      it->second->Release();
      it = r.targets.erase(it);
    } else {
      ++it;
    }
  }
  if (r.targets.count(hwnd)) return DRAGDROP_E_ALREADYREGISTERED;
  pDropTarget->AddRef();
  r.targets[hwnd] = pDropTarget;
  brambolt::ole::InstallForeignDropTargets();
  return S_OK;
}

HRESULT RevokeDragDrop(HWND hwnd) {
  LPDROPTARGET target;
  {
    auto& r = brambolt::ole::Targets();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.targets.find(hwnd);
    if (it == r.targets.end()) return DRAGDROP_E_NOTREGISTERED;
    target = it->second;
    r.targets.erase(it);
  }
  target->Release();
  return S_OK;
}

HRESULT DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource, DWORD dwOKEffects, LPDWORD pdwEffect) {
  if (pDataObj == nullptr || pDropSource == nullptr || pdwEffect == nullptr) return E_INVALIDARG;
  // The drag holds the data and the source until every target call has returned.
  pDataObj->AddRef();
  pDropSource->AddRef();
  HRESULT hr = brambolt::ole::Drag(pDataObj, pDropSource, dwOKEffects).Run(pdwEffect);
  pDropSource->Release();
  pDataObj->Release();
  return hr;
}
