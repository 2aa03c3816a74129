#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/toolkit.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/Layout.h"
#include "platform/win32/dpi.h"

namespace qb::win32 {

class DirListView;

// A form's live window, built from its description: a fixed dialog frame whose child controls
// are laid out from twips at the window's own DPI, and again whenever that DPI changes.
class Win32Window : public LiveWindow {
 public:
  explicit Win32Window(const WindowSpec& spec);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  void show(LiveWindow* owner) override;
  void setEnabled(bool enabled) override;
  std::string text(int control) const override;
  void setText(int control, const std::string& text) override;
  void repaint(int control) override;
  std::string dirPath(int control) const override;
  bool setDirPath(int control, const std::string& path) override;
  void rereadDir(int control) override;
  std::string drive(int control) const override;
  void setDrive(int control, const std::string& path) override;

  HWND hwnd() const { return hwnd_; }
  // The child window of the control of that name, or null.
  HWND controlWindow(const std::string& name) const;
  // The folder list of that name, or null.
  DirListView* dirList(const std::string& name) const;
  // The tooltip control, made on first need.
  HWND tooltips();

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void makeControl(const ControlSpec& spec, int index);
  void layout(UINT dpi);
  SIZE frame(const Layout& layout) const;
  void focusFirst();
  void rememberFocus();
  void release();
  ChildControl* byId(UINT id) const;
  template <typename T>
  T& control(int index) const;

  const WindowSpec& spec_;
  HWND hwnd_ = nullptr;
  HWND tooltips_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the window last lost it
  DWORD style_ = 0, exStyle_ = 0;
  std::vector<std::unique_ptr<ChildControl>> controls_;
  Layout layout_;
  OwnedIcon bigIcon_, smallIcon_;
};

}  // namespace qb::win32
