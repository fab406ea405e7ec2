#include "saver/view.h"

#include <algorithm>

View* View::addSubview(std::unique_ptr<View> view) {
  view->superview_ = this;
  subviews_.push_back(std::move(view));
  return subviews_.back().get();
}

void View::removeFromSuperview() {
  View* parent = superview_;
  if (!parent) {
    return;
  }
  auto& siblings = parent->subviews_;
  const auto it =
      std::find_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; });
  if (it != siblings.end()) {
    std::unique_ptr<View> self = std::move(*it);
    siblings.erase(it);
    self->superview_ = nullptr;
  }
}
