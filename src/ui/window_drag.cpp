// Drag and drop: a drag shows the source's drag icon as the pointer and ends with DragDrop on
// the control under the pointer when the button is released (or Drag 2 is called).
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::ui {

void WindowManager::BeginDrag(Control& source) {
  dragSource_ = Ref<Control>(&source);
  HideToolTip();
  UpdatePointer();
}

void WindowManager::CancelDrag(Control& source) {
  if (dragSource_.get() != &source) return;
  dragSource_.reset();
  UpdatePointer();
}

void WindowManager::EndDrag(Control& source) {
  if (dragSource_.get() != &source) return;
  if (!pointerForm_) {
    CancelDrag(source);
    return;
  }
  Drop(pointerClient_, *pointerForm_);
}

void WindowManager::Drop(draw::Point clientPoint, Form& form) {
  Ref<Control> source = std::move(dragSource_);
  dragSource_.reset();
  UpdatePointer();
  if (!source) return;
  Ref<Control> target(HitTest(form, clientPoint));
  if (!target || !target->on.dragDrop) return;
  MouseArgs at = ArgsFor(*target, 0, 0, clientPoint);
  target->on.dragDrop(*target, *source, at.x, at.y);
}

}  // namespace sl::ui
