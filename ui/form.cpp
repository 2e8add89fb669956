#include "ui/form.h"

#include "ui/window_metrics.h"

namespace tavrel {
namespace {

constexpr const wchar_t* kLabelFace = L"ＭＳ Ｐゴシック";

// One brush for the process: it is every form class's background and lives as long as they do.
HBRUSH BackgroundBrush() {
  static const HBRUSH brush = CreateSolidBrush(kFormBackground);
  return brush;
}

void RegisterFormClass(const FormDesign& design, WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  if (GetClassInfoExW(instance, design.class_name, &window_class)) return;
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = BackgroundBrush();
  window_class.lpszClassName = design.class_name;
  if (design.icon_id) {
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(design.icon_id));
    window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(design.icon_id),
                                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  RegisterClassExW(&window_class);
}

// The whole screen of the primary monitor, taskbar included, as the windows were designed to open.
void CentreOnScreen(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Form::Form(const FormDesign& design, HWND owner) : design_(design) {
  RegisterFormClass(design, &Form::WindowProcedure);
  // Created on the primary monitor, so that its DPI is known before the layout.
  CreateWindowExW(design.ex_style, design.class_name, design.title, design.style, 0, 0, 0, 0, owner,
                  /*hMenu=*/nullptr, GetModuleHandleW(nullptr), this);
  for (const ControlDesign& control : design.controls) {
    controls_.push_back(CreateWindowExW(0, control.window_class, control.text,
                                        WS_CHILD | WS_VISIBLE | control.style, 0, 0, 0, 0, window_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                        GetModuleHandleW(nullptr), nullptr));
  }
  Layout(WindowDpi(window_));
  CentreOnScreen(window_);
}

Form::~Form() {
  if (window_) DestroyWindow(window_);
}

void Form::Layout(int dpi) {
  const SIZE size = WindowSizeForClient(
      {TwipsToPixels(design_.client_width, dpi), TwipsToPixels(design_.client_height, dpi)},
      design_.style, design_.ex_style, dpi);
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  // The old fonts go only after every control has let go of them.
  std::vector<GdiObject<HFONT>> fonts;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const ControlDesign& control = design_.controls[i];
    const LOGFONTW font = control.font_centipoints
                              ? ShiftJisFont(kLabelFace, control.font_centipoints, dpi)
                              : UserInterfaceFont(dpi);
    fonts.emplace_back(CreateFontIndirectW(&font));
    SetWindowPos(controls_[i], nullptr, TwipsToPixels(control.bounds.left, dpi),
                 TwipsToPixels(control.bounds.top, dpi), TwipsToPixels(control.bounds.width, dpi),
                 TwipsToPixels(control.bounds.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts.back().get()), TRUE);
  }
  fonts_ = std::move(fonts);
}

LRESULT CALLBACK Form::WindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY && form) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    form->window_ = nullptr;
    form = nullptr;
  }
  return form ? form->HandleMessage(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT Form::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED) OnCommand(LOWORD(w));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          ColourLabel(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l)));
    case WM_ACTIVATE:
      Activate(LOWORD(w) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(l);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      Layout(HIWORD(w));
      return 0;
    }
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

HBRUSH Form::ColourLabel(HDC dc, HWND control) const {
  const int id = GetDlgCtrlID(control);
  for (const ControlDesign& design : design_.controls) {
    if (design.id == id) SetTextColor(dc, design.text_colour);
  }
  SetBkMode(dc, TRANSPARENT);
  return BackgroundBrush();
}

// A plain window forgets its focused control when it is deactivated; keep it, as dialogs do,
// so that Tab and the focus rectangle still work after a message box.
void Form::Activate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) saved_focus_ = focus;
    return;
  }
  HWND focus = saved_focus_;
  for (std::size_t i = 0; !focus && i < controls_.size(); ++i) {
    if (design_.controls[i].style & WS_TABSTOP) focus = controls_[i];
  }
  SetFocus(focus ? focus : window_);
}

}  // namespace tavrel
