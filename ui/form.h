#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "ui/gdi_object.h"

namespace tavrel {

// Light cyan, the background of both windows.
constexpr COLORREF kFormBackground = RGB(192, 255, 255);

struct TwipsRect {
  int left, top, width, height;
};

struct ControlDesign {
  int id;
  const wchar_t* window_class;  // "BUTTON" or "STATIC"
  const wchar_t* text;
  DWORD style;
  TwipsRect bounds;
  int font_centipoints;  // "ＭＳ Ｐゴシック" at this size; 0 for the user-interface font
  COLORREF text_colour;  // labels only
};

struct FormDesign {
  const wchar_t* class_name;
  const wchar_t* title;
  DWORD style;
  DWORD ex_style;
  int client_width, client_height;  // twips
  int icon_id;                      // 0 for none
  std::span<const ControlDesign> controls;
};

// A fixed-size top-level window with the light cyan background, laid out from twips at its
// monitor's DPI and opened hidden in the centre of the screen. Labels draw their text in
// their own colour straight onto the background. The window is destroyed with the object.
class Form {
 public:
  Form(const FormDesign& design, HWND owner);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND window() const { return window_; }

 protected:
  // A button was clicked.
  virtual void OnCommand(int id) = 0;

  // The close box or Alt+F4. The window stays unless the handler ends the program.
  virtual void OnClose() = 0;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
  HBRUSH ColourLabel(HDC dc, HWND control) const;
  void Activate(bool active);

  // Sizes the window and places the controls for this DPI, keeping the window's top left.
  void Layout(int dpi);

  const FormDesign& design_;
  HWND window_ = nullptr;
  std::vector<HWND> controls_;
  std::vector<GdiObject<HFONT>> fonts_;
  HWND saved_focus_ = nullptr;
};

}  // namespace tavrel
