// CheckGLVersion: prints the OpenGL version string of the default display driver.
//
// A console program on its own, carried inside the installer in a 32-bit and a 64-bit build.
// Output contract: on success the driver's GL_VERSION text on standard output, unchanged and
// without a newline, exit code 0; on any failure the line "Error: CreateContext failed" on
// standard error, nothing on standard output, exit code 1. It reads no command line and never
// shows a window or a message box.
#include <windows.h>
#include <GL/gl.h>

#include <cstdio>

namespace {

const char kClassName[] = "GLEW";

// Everything the probe creates, released in reverse order on every path.
struct ProbeObjects {
  HINSTANCE instance = nullptr;
  bool class_registered = false;
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;

  ~ProbeObjects() {
    if (context) {
      wglMakeCurrent(nullptr, nullptr);
      // The context this probe made: once nothing is current, asking the system for the current
      // context would give null and leak this one.
      wglDeleteContext(context);
    }
    if (window && dc) ReleaseDC(window, dc);
    if (window) DestroyWindow(window);
    if (class_registered) UnregisterClassA(kClassName, instance);
  }
};

// Steps up to a current rendering context; false at the first failure.
bool MakeContext(ProbeObjects* probe) {
  probe->instance = GetModuleHandleA(nullptr);

  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = probe->instance;
  window_class.lpszClassName = kClassName;
  if (!RegisterClassA(&window_class)) return false;
  probe->class_registered = true;

  // Never shown: it only carries the device context the pixel format needs.
  probe->window = CreateWindowExA(0, kClassName, kClassName, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, probe->instance, nullptr);
  if (!probe->window) return false;

  probe->dc = GetDC(probe->window);
  if (!probe->dc) return false;

  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof(format);  // 40
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  const int chosen = ChoosePixelFormat(probe->dc, &format);
  if (chosen == 0) return false;
  if (!SetPixelFormat(probe->dc, chosen, &format)) return false;

  probe->context = wglCreateContext(probe->dc);
  if (!probe->context) return false;
  return wglMakeCurrent(probe->dc, probe->context) != FALSE;
}

}  // namespace

int main() {
  const char* version = nullptr;
  {
    ProbeObjects probe;
    // A driver that gives no version text has no usable OpenGL either: same failure.
    if (MakeContext(&probe)) version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version) {
      std::printf("%s", version);
      std::fflush(stdout);  // before the context that owns the text goes away
    }
  }
  if (!version) {
    std::fputs("Error: CreateContext failed\n", stderr);
    return 1;
  }
  return 0;
}
