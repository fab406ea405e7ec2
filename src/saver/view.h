#pragma once

#include <memory>
#include <vector>

#include "saver/geometry.h"

// A node of the view tree. A view owns its subviews; removing a subview from
// its superview ends it.
class View {
 public:
  explicit View(Rect frame) : frame_(frame) {}
  virtual ~View() = default;
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  const Rect& frame() const { return frame_; }
  virtual void setFrameSize(Size size) { frame_.size = size; }

  // Takes ownership; returns the added view.
  View* addSubview(std::unique_ptr<View> view);
  // Detaches this view from its superview, which destroys it.
  void removeFromSuperview();
  View* superview() const { return superview_; }
  const std::vector<std::unique_ptr<View>>& subviews() const { return subviews_; }

 private:
  Rect frame_;
  View* superview_ = nullptr;
  std::vector<std::unique_ptr<View>> subviews_;
};
