#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/toolkit.h"

namespace qb {

// A form's live window, built from its description: one top-level QWidget whose children carry
// the control names as object names.
class QtWindow : public LiveWindow {
 public:
  explicit QtWindow(const WindowSpec& spec);
  ~QtWindow() override;

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

  QWidget* widget() const { return window_; }

 private:
  QWidget* makeControl(const ControlSpec& spec, int index);
  void layOut();
  template <typename T>
  T* control(int index) const;

  const WindowSpec& spec_;
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;  // the control that had the focus when the window was disabled
  std::vector<QWidget*> controls_;
  std::vector<QMetaObject::Connection> connections_;
};

}  // namespace qb
