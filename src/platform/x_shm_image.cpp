#include "platform/x_shm_image.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>

namespace {

bool attachFailed = false;

int noteAttachFailure(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

// Blue in the lowest byte of a 32-bit word, as the frame's BGRA bytes lie in
// this machine's memory, and no alpha: the frame's alpha is what the
// blending left, which a window of depth 32 would show as translucence.
bool framesByteOrder(const XImage& image, const Visual& visual) {
  const int native = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  return image.depth == 24 && image.bits_per_pixel == 32 && image.byte_order == native &&
         visual.red_mask == 0xff0000 && visual.green_mask == 0x00ff00 && visual.blue_mask == 0x0000ff;
}

}  // namespace

std::unique_ptr<XShmImage> XShmImage::create(Display* display, Window window, int width, int height) {
  XWindowAttributes attributes;
  if (width <= 0 || height <= 0 || !XShmQueryExtension(display) ||
      !XGetWindowAttributes(display, window, &attributes)) {
    return nullptr;
  }
  std::unique_ptr<XShmImage> shared(new XShmImage(display, window));
  shared->image_ =
      XShmCreateImage(display, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, nullptr,
                      &shared->segment_, static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (!shared->image_ || !framesByteOrder(*shared->image_, *attributes.visual)) {
    return nullptr;
  }
  shared->segment_.shmid = shmget(
      IPC_PRIVATE, static_cast<std::size_t>(shared->image_->bytes_per_line) * height, IPC_CREAT | 0600);
  if (shared->segment_.shmid < 0) {
    return nullptr;
  }
  void* memory = shmat(shared->segment_.shmid, nullptr, 0);
  // Removed at once: the memory lives until both sides have let go of it,
  // and never outlives the program, however it ends.
  shmctl(shared->segment_.shmid, IPC_RMID, nullptr);
  if (memory == reinterpret_cast<void*>(-1)) {
    return nullptr;
  }
  shared->segment_.shmaddr = shared->image_->data = static_cast<char*>(memory);
  shared->segment_.readOnly = True;
  // A server that cannot reach our memory answers the attach with an error:
  // waited for here, under a handler of our own.
  XSync(display, False);
  attachFailed = false;
  const auto previous = XSetErrorHandler(noteAttachFailure);
  const bool attached = XShmAttach(display, &shared->segment_) && (XSync(display, False), !attachFailed);
  XSetErrorHandler(previous);
  if (!attached) {
    return nullptr;
  }
  shared->attached_ = true;
  shared->gc_ = XCreateGC(display, window, 0, nullptr);
  return shared;
}

XShmImage::~XShmImage() {
  if (gc_) {
    XFreeGC(display_, gc_);
  }
  if (attached_) {
    XShmDetach(display_, &segment_);
    XSync(display_, False);
  }
  if (segment_.shmaddr) {
    shmdt(segment_.shmaddr);
  }
  if (image_) {
    image_->data = nullptr;
    XDestroyImage(image_);
  }
}

void XShmImage::show() {
  XShmPutImage(display_, window_, gc_, image_, 0, 0, 0, 0, static_cast<unsigned>(image_->width),
               static_cast<unsigned>(image_->height), False);
  XSync(display_, False);
}
