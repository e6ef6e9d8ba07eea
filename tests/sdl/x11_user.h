// What a user does on a test's X display: the real pointer moved and pressed through the XTEST
// extension (so window drags see true button state), and windows moved as a window manager
// moves them. libXtst is loaded at run time: when it is missing, Available() is false and the
// tests that need it skip.
#pragma once

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <dlfcn.h>

#include <string>
#include <vector>

namespace sl::test {

class X11User {
 public:
  // `window` is any SDL window on the display (its connection is used); without one, a
  // connection of its own to $DISPLAY is opened (for windows of another program).
  explicit X11User(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
      display_ = info.info.x11.display;
      window_ = info.info.x11.window;
    }
    // XTEST hooks itself into the display's closing: the library must stay loaded until the
    // display closes, after this object is gone.
    xtst_ = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    x11_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!xtst_ || !x11_) return;
    motion_ = reinterpret_cast<MotionFn>(dlsym(xtst_, "XTestFakeMotionEvent"));
    button_ = reinterpret_cast<ButtonFn>(dlsym(xtst_, "XTestFakeButtonEvent"));
    sync_ = reinterpret_cast<SyncFn>(dlsym(x11_, "XSync"));
    moveWindow_ = reinterpret_cast<MoveWindowFn>(dlsym(x11_, "XMoveWindow"));
    key_ = reinterpret_cast<KeyFn>(dlsym(xtst_, "XTestFakeKeyEvent"));
    keycode_ = reinterpret_cast<KeycodeFn>(dlsym(x11_, "XKeysymToKeycode"));
    internAtom_ = reinterpret_cast<InternAtomFn>(dlsym(x11_, "XInternAtom"));
    getProperty_ = reinterpret_cast<GetPropertyFn>(dlsym(x11_, "XGetWindowProperty"));
    atomName_ = reinterpret_cast<AtomNameFn>(dlsym(x11_, "XGetAtomName"));
    free_ = reinterpret_cast<FreeFn>(dlsym(x11_, "XFree"));
    if (!display_) {
      auto open = reinterpret_cast<Display* (*)(const char*)>(dlsym(x11_, "XOpenDisplay"));
      close_ = reinterpret_cast<int (*)(Display*)>(dlsym(x11_, "XCloseDisplay"));
      if (open && close_) display_ = owned_ = open(nullptr);
    }
  }
  ~X11User() {
    if (owned_) close_(owned_);
    if (xtst_) dlclose(xtst_);
    if (x11_) dlclose(x11_);
  }
  X11User(const X11User&) = delete;
  X11User& operator=(const X11User&) = delete;

  bool Available() const {
    return display_ && motion_ && button_ && sync_ && moveWindow_ && key_ && keycode_;
  }

  // Presses and releases the key of an X keysym (0xFF0D Return, 0xFF1B Escape).
  void Key(unsigned long keysym) {
    unsigned code = keycode_(display_, keysym);
    key_(display_, code, 1, 0);
    key_(display_, code, 0, 0);
    sync_(display_, 0);
  }

  // The names of the atoms an atom-list property of the window holds (_NET_WM_WINDOW_TYPE).
  std::vector<std::string> AtomProperty(const char* property) {
    std::vector<std::string> names;
    if (!internAtom_ || !getProperty_ || !atomName_ || !free_) return names;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (getProperty_(display_, window_, internAtom_(display_, property, 0), 0, 64, 0, XA_ATOM,
                     &type, &format, &count, &after, &data) != 0 ||
        !data)
      return names;
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      char* name = atomName_(display_, atoms[i]);
      names.push_back(name ? name : "");
      if (name) free_(name);
    }
    free_(data);
    return names;
  }
  // The text of a string property of the window (WM_CLASS: instance and class, each ended by
  // a NUL).
  std::string StringProperty(const char* property) {
    std::string text;
    if (!internAtom_ || !getProperty_ || !free_) return text;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (getProperty_(display_, window_, internAtom_(display_, property, 0), 0, 1024, 0,
                     AnyPropertyType, &type, &format, &count, &after, &data) != 0 ||
        !data)
      return text;
    if (format == 8) text.assign(reinterpret_cast<const char*>(data), count);
    free_(data);
    return text;
  }

  // Moves the window to (x, y) of the screen behind the program's back.
  void MoveWindow(int x, int y) {
    moveWindow_(display_, window_, x, y);
    sync_(display_, 0);
  }

  // Moves the pointer to (x, y) of the screen, in real pixels.
  void MoveTo(int x, int y) {
    motion_(display_, 0, x, y, 0);
    sync_(display_, 0);
  }
  void Left(bool down) {
    button_(display_, 1, down ? 1 : 0, 0);
    sync_(display_, 0);
  }

 private:
  using MotionFn = int (*)(Display*, int, int, int, unsigned long);
  using ButtonFn = int (*)(Display*, unsigned int, int, unsigned long);
  using SyncFn = int (*)(Display*, int);
  using MoveWindowFn = int (*)(Display*, Window, int, int);
  using KeyFn = int (*)(Display*, unsigned int, int, unsigned long);
  using KeycodeFn = unsigned char (*)(Display*, unsigned long);
  using InternAtomFn = Atom (*)(Display*, const char*, int);
  using GetPropertyFn = int (*)(Display*, Window, Atom, long, long, int, Atom, Atom*, int*,
                                unsigned long*, unsigned long*, unsigned char**);
  using AtomNameFn = char* (*)(Display*, Atom);
  using FreeFn = int (*)(void*);

  Display* display_ = nullptr;
  void* xtst_ = nullptr;
  void* x11_ = nullptr;
  MotionFn motion_ = nullptr;
  ButtonFn button_ = nullptr;
  SyncFn sync_ = nullptr;
  MoveWindowFn moveWindow_ = nullptr;
  KeyFn key_ = nullptr;
  KeycodeFn keycode_ = nullptr;
  InternAtomFn internAtom_ = nullptr;
  GetPropertyFn getProperty_ = nullptr;
  AtomNameFn atomName_ = nullptr;
  FreeFn free_ = nullptr;
  Display* owned_ = nullptr;
  int (*close_)(Display*) = nullptr;
  Window window_ = 0;
};

}  // namespace sl::test
