// The animation control ("SysAnimate32"): opens an AVI clip from the resources ("AVI" type) or a
// file, shows its frames on the window's timer, transparent and centred when asked.
#include <memory>

#include "controls/AviClip.h"
#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"
#include "os/os.h"
#include "res/Resources.h"

namespace brambolt::ctl {
namespace {

constexpr UINT_PTR kFrameTimer = 1;

std::optional<AviClip> ReadClipFile(LPCSTR path) {
  HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  DWORD high = 0, low = GetFileSize(file, &high);
  bool ok = high == 0 && low != INVALID_FILE_SIZE && low <= (64u << 20);
  if (ok) {
    bytes.resize(low);
    DWORD read = 0;
    ok = low == 0 || (ReadFile(file, bytes.data(), low, &read, nullptr) && read == low);
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return DecodeAvi(bytes.data(), bytes.size());
}

std::optional<AviClip> ReadClipResource(HINSTANCE module, LPCSTR name) {
  HRSRC info = FindResource(module, name, "AVI");
  if (info == nullptr) return std::nullopt;
  HGLOBAL data = LoadResource(module, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return DecodeAvi(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, info));
}

class AnimationState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  BOOL Open(HWND hwnd, HINSTANCE module, LPCSTR name);
  BOOL Play(HWND hwnd, int repeat, int from, int to);
  void Stop(HWND hwnd);
  void Tick(HWND hwnd);
  void ShowFrame(HWND hwnd, int frame);
  void Paint(HWND hwnd, HDC hdc);
  POINT Origin(HWND hwnd) const;

  HFONT font_ = nullptr;
  std::unique_ptr<AviClip> clip_;
  int frame_ = 0;
  int from_ = 0, to_ = 0;
  int repeat_ = 0;  // plays left, -1 for ever
  bool playing_ = false;
};

BOOL AnimationState::Open(HWND hwnd, HINSTANCE module, LPCSTR name) {
  Stop(hwnd);
  clip_.reset();
  frame_ = 0;
  if (name != nullptr) {
    if (module == nullptr) module = reinterpret_cast<HINSTANCE>(GetWindowLongPtr(hwnd, GWLP_HINSTANCE));
    std::optional<AviClip> clip = ReadClipResource(module, name);
    if (!clip && !IS_INTRESOURCE(name)) clip = ReadClipFile(name);
    if (clip) clip_ = std::make_unique<AviClip>(std::move(*clip));
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  if (!clip_) return name == nullptr;
  DWORD style = StyleOf(hwnd);
  if (!(style & ACS_CENTER))
    SetWindowPos(hwnd, nullptr, 0, 0, clip_->width, clip_->height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (style & ACS_AUTOPLAY) Play(hwnd, -1, 0, -1);
  return TRUE;
}

BOOL AnimationState::Play(HWND hwnd, int repeat, int from, int to) {
  if (!clip_) return FALSE;
  int last = static_cast<int>(clip_->frames.size()) - 1;
  if (to == 0xFFFF || to == -1) to = last;
  if (from < 0 || from > last || to > last || from > to) return FALSE;
  Stop(hwnd);
  if (from == to || repeat == 0) {  // a seek: show the frame, play nothing
    ShowFrame(hwnd, from);
    return TRUE;
  }
  from_ = from;
  to_ = to;
  repeat_ = repeat < 0 ? -1 : repeat;
  playing_ = true;
  ShowFrame(hwnd, from);
  NotifyParent(hwnd, ACN_START);
  SetTimer(hwnd, kFrameTimer, clip_->FrameMilliseconds(), nullptr);
  return TRUE;
}

void AnimationState::Stop(HWND hwnd) {
  if (!playing_) return;
  playing_ = false;
  KillTimer(hwnd, kFrameTimer);
  NotifyParent(hwnd, ACN_STOP);
}

void AnimationState::Tick(HWND hwnd) {
  if (!playing_ || !clip_) return;
  if (frame_ < to_) {
    ShowFrame(hwnd, frame_ + 1);
    return;
  }
  if (repeat_ > 0) --repeat_;
  if (repeat_ == 0) {
    Stop(hwnd);
    return;
  }
  ShowFrame(hwnd, from_);
}

void AnimationState::ShowFrame(HWND hwnd, int frame) {
  frame_ = frame;
  InvalidateRect(hwnd, nullptr, FALSE);
}

POINT AnimationState::Origin(HWND hwnd) const {
  if (!(StyleOf(hwnd) & ACS_CENTER)) return POINT{0, 0};
  RECT r;
  GetClientRect(hwnd, &r);
  return POINT{(r.right - clip_->width) / 2, (r.bottom - clip_->height) / 2};
}

void AnimationState::Paint(HWND hwnd, HDC hdc) {
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = ParentBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  if (brush == nullptr) brush = GetSysColorBrush(COLOR_3DFACE);
  if (!clip_) {
    FillRect(hdc, &client, brush);
    return;
  }
  const std::vector<std::uint32_t>& pixels = clip_->frames[static_cast<std::size_t>(frame_)];
  POINT at = Origin(hwnd);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = clip_->width;
  info.bmiHeader.biHeight = -clip_->height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Fill only around the picture unless its background must show through.
  bool transparent = (StyleOf(hwnd) & ACS_TRANSPARENT) != 0;
  HRGN around = CreateRectRgnIndirect(&client);
  if (!transparent) {
    HRGN picture = CreateRectRgn(at.x, at.y, at.x + clip_->width, at.y + clip_->height);
    CombineRgn(around, around, picture, RGN_DIFF);
    DeleteObject(picture);
  }
  FillRgn(hdc, around, brush);
  DeleteObject(around);
  if (!transparent) {
    SetDIBitsToDevice(hdc, at.x, at.y, static_cast<DWORD>(clip_->width), static_cast<DWORD>(clip_->height), 0, 0, 0,
                      static_cast<UINT>(clip_->height), pixels.data(), &info, DIB_RGB_COLORS);
    return;
  }
  // The colour of the first frame's top-left pixel is the clip's background.
  std::uint32_t key = clip_->frames.front().front();
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return;
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
  HDC memory = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  TransparentBlt(hdc, at.x, at.y, clip_->width, clip_->height, memory, 0, 0, clip_->width, clip_->height,
                 RGB(key >> 16 & 0xFF, key >> 8 & 0xFF, key & 0xFF));
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

LRESULT AnimationState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common)) return common;
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      // A window name that is a resource id or a file opens that clip at once.
      if (cs && cs->lpszName && (IS_INTRESOURCE(cs->lpszName) || cs->lpszName[0] != '\0'))
        Open(hwnd, cs->hInstance, cs->lpszName);
      return 0;
    }
    case ACM_OPENA:
      return Open(hwnd, reinterpret_cast<HINSTANCE>(wParam), reinterpret_cast<LPCSTR>(lParam));
    case ACM_PLAY:
      return Play(hwnd, static_cast<int>(static_cast<UINT>(wParam)), static_cast<short>(LOWORD(lParam)),
                  HIWORD(lParam));
    case ACM_STOP:
      Stop(hwnd);
      return TRUE;
    case ACM_ISPLAYING:
      return playing_;
    case WM_TIMER:
      if (wParam == kFrameTimer) Tick(hwnd);
      return 0;
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_DESTROY:
      playing_ = false;
      KillTimer(hwnd, kFrameTimer);
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterAnimationClass() {
  RegisterControlClass(ANIMATE_CLASS, ControlProc<AnimationState>, CS_DBLCLKS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
