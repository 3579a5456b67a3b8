# shellcheck shell=bash
# Sourced by the scripts that check which pointer the program shows.

# The pointer X shows now: width, height and hot spot of its image.
pointer_image() {
    python3 - <<'PY'
import ctypes
x = ctypes.cdll.LoadLibrary("libX11.so.6")
xf = ctypes.cdll.LoadLibrary("libXfixes.so.3")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XCloseDisplay.argtypes = [ctypes.c_void_p]

class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p)]

xf.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
xf.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
display = x.XOpenDisplay(None)
image = xf.XFixesGetCursorImage(display).contents
print(f"{image.width}x{image.height}+{image.xhot}+{image.yhot}")
x.XCloseDisplay(display)
PY
}

