#pragma once

// Catches the first frame a window paints and reports it on stdout as CLOCK_MONOTONIC
// timestamps, then ends the process at once. Both start-up programs use this one filter so
// that they are measured in the same way.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "bench/bench_util.h"

namespace qb::bench {

class FirstPaintProbe : public QObject {
 public:
  // window: the object name of the top-level widget to watch. extra: more key=value text for
  // the report line, gathered at the moment of the first paint.
  FirstPaintProbe(QString window, std::function<std::string()> extra)
      : window_(std::move(window)), extra_(std::move(extra)) {
    qApp->installEventFilter(this);
    // A program that never paints must not hang the harness.
    QTimer::singleShot(20'000, qApp, [] {
      std::fputs("error=no-paint\n", stdout);
      std::fflush(stdout);
      std::_Exit(2);
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (seen_ || event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window()->objectName() != window_) return false;
    seen_ = true;
    firstPaint_ = nowNs();
    info_ = extra_ ? extra_() : std::string();
    // The window and its children paint in one pass; the queued call runs once that pass,
    // and the flush to the screen, are over.
    QTimer::singleShot(0, qApp, [this] { report(); });
    return false;
  }

 private:
  void report() const {
    std::printf("first_paint_ns=%lld frame_done_ns=%lld %s\n", static_cast<long long>(firstPaint_),
                static_cast<long long>(nowNs()), info_.c_str());
    std::fflush(stdout);
    // Only the time to the first frame is wanted; tearing the program down would add nothing.
    std::_Exit(0);
  }

  QString window_;
  std::function<std::string()> extra_;
  bool seen_ = false;
  std::int64_t firstPaint_ = 0;
  std::string info_;
};

}  // namespace qb::bench
