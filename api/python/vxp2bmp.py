"""vxp2bmp for Python: saved reports (.vxp) and metafiles (.emf, placeable
.wmf) rendered to BMP or PNG images, through the library's C interface.

    import vxp2bmp
    report = vxp2bmp.Report("report.vxp")          # or Report(data=bytes)
    for page in range(1, report.page_count + 1):
        bitmap = report.render_page(page, resolution=150)
        bitmap.save(f"page{page}.png", "png")
    png_bytes = vxp2bmp.render_metafile("chart.emf", width=800).encode("png")

Failures raise vxp2bmp.Error with the class name and message the tool reports.
The library is looked up in $VXP2BMP_LIBRARY, then beside this installed
module, then on the system's library path.
"""

import ctypes
import ctypes.util
import os

__all__ = ["Error", "Report", "Bitmap", "PageSize", "render_metafile", "metafile_size", "version"]

_LIBRARY_FROM_MODULE = "@VXP_PYTHON_TO_LIBDIR@"
_LIBRARY_NAME = "@VXP_LIBRARY_NAME@"
_FORMATS = {"bmp": 0, "png": 1}


class Error(Exception):
    """An error of the library: class_name (EFOpenError, EInvalidGraphic, ...) and message."""

    def __init__(self, class_name, message, status):
        super().__init__(f"{class_name}: {message}")
        self.class_name = class_name
        self.message = message
        self.status = status


class _Settings(ctypes.Structure):
    _fields_ = [("resolution", ctypes.c_int32), ("depth", ctypes.c_int32),
                ("width", ctypes.c_int32), ("height", ctypes.c_int32)]


class PageSize(ctypes.Structure):
    """Size before rendering: screen pixels (96 per inch) and the frame in 0.01 mm."""
    _fields_ = [("pixel_width", ctypes.c_int32), ("pixel_height", ctypes.c_int32),
                ("frame_width", ctypes.c_int32), ("frame_height", ctypes.c_int32)]

    def __repr__(self):
        return (f"PageSize(pixel_width={self.pixel_width}, pixel_height={self.pixel_height}, "
                f"frame_width={self.frame_width}, frame_height={self.frame_height})")


def _candidates():
    explicit = os.environ.get("VXP2BMP_LIBRARY")
    if explicit:
        yield explicit
        return
    if not _LIBRARY_FROM_MODULE.startswith("@"):
        here = os.path.dirname(os.path.abspath(__file__))
        yield os.path.normpath(os.path.join(here, _LIBRARY_FROM_MODULE, _LIBRARY_NAME))
    found = ctypes.util.find_library("vxp2bmp")
    if found:
        yield found


def _load():
    tried = []
    for path in _candidates():
        try:
            return ctypes.CDLL(path)
        except OSError as error:
            tried.append(f"{path}: {error}")
    raise ImportError("libvxp2bmp not found (set VXP2BMP_LIBRARY): " + "; ".join(tried))


_lib = _load()
_p = ctypes.c_void_p
_status = ctypes.c_int
for name, result, arguments in [
    ("vxp2bmp_version", ctypes.c_char_p, []),
    ("vxp2bmp_error_class", ctypes.c_char_p, []),
    ("vxp2bmp_error_message", ctypes.c_char_p, []),
    ("vxp2bmp_report_open_file", _status, [ctypes.c_char_p, ctypes.POINTER(_p)]),
    ("vxp2bmp_report_open_memory", _status, [ctypes.c_char_p, ctypes.c_size_t, ctypes.POINTER(_p)]),
    ("vxp2bmp_report_free", None, [_p]),
    ("vxp2bmp_report_page_count", _status, [_p, ctypes.POINTER(ctypes.c_int32)]),
    ("vxp2bmp_report_page_size", _status, [_p, ctypes.c_int32, ctypes.POINTER(PageSize)]),
    ("vxp2bmp_report_render_page", _status, [_p, ctypes.c_int32, ctypes.POINTER(_Settings), ctypes.POINTER(_p)]),
    ("vxp2bmp_render_metafile_file", _status, [ctypes.c_char_p, ctypes.POINTER(_Settings), ctypes.POINTER(_p)]),
    ("vxp2bmp_render_metafile_memory", _status,
     [ctypes.c_char_p, ctypes.c_size_t, ctypes.POINTER(_Settings), ctypes.POINTER(_p)]),
    ("vxp2bmp_metafile_size_file", _status, [ctypes.c_char_p, ctypes.POINTER(PageSize)]),
    ("vxp2bmp_metafile_size_memory", _status, [ctypes.c_char_p, ctypes.c_size_t, ctypes.POINTER(PageSize)]),
    ("vxp2bmp_bitmap_free", None, [_p]),
    ("vxp2bmp_bitmap_width", ctypes.c_int32, [_p]),
    ("vxp2bmp_bitmap_height", ctypes.c_int32, [_p]),
    ("vxp2bmp_bitmap_depth", ctypes.c_int32, [_p]),
    ("vxp2bmp_bitmap_encode", _status,
     [_p, ctypes.c_int, ctypes.POINTER(ctypes.POINTER(ctypes.c_uint8)), ctypes.POINTER(ctypes.c_size_t)]),
    ("vxp2bmp_bitmap_save", _status, [_p, ctypes.c_int, ctypes.c_char_p]),
    ("vxp2bmp_buffer_free", None, [ctypes.POINTER(ctypes.c_uint8)]),
]:
    function = getattr(_lib, name)
    function.restype = result
    function.argtypes = arguments


def _check(status):
    if status != 0:
        raise Error(_lib.vxp2bmp_error_class().decode("utf-8", "replace"),
                    _lib.vxp2bmp_error_message().decode("utf-8", "replace"), status)


def _path(path):
    return os.fsencode(path)


def _settings(resolution, depth, width, height):
    return _Settings(resolution, depth, width or 0, height or 0)


def _format(name):
    try:
        return _FORMATS[name.lower()]
    except (KeyError, AttributeError):
        raise ValueError(f"format must be 'bmp' or 'png', not {name!r}") from None


def version():
    return _lib.vxp2bmp_version().decode()


class Bitmap:
    """A rendered page: width, height, depth; encode() to bytes, save() to a file."""

    def __init__(self, handle):
        self._handle = handle

    def __del__(self):
        handle = getattr(self, "_handle", None)
        if handle:
            _lib.vxp2bmp_bitmap_free(handle)
            self._handle = None

    @property
    def width(self):
        return _lib.vxp2bmp_bitmap_width(self._handle)

    @property
    def height(self):
        return _lib.vxp2bmp_bitmap_height(self._handle)

    @property
    def depth(self):
        return _lib.vxp2bmp_bitmap_depth(self._handle)

    def encode(self, format="bmp"):
        data = ctypes.POINTER(ctypes.c_uint8)()
        size = ctypes.c_size_t()
        _check(_lib.vxp2bmp_bitmap_encode(self._handle, _format(format), ctypes.byref(data), ctypes.byref(size)))
        if not size.value:
            return b""
        try:
            return ctypes.string_at(data, size.value)
        finally:
            _lib.vxp2bmp_buffer_free(data)

    def save(self, path, format="bmp"):
        _check(_lib.vxp2bmp_bitmap_save(self._handle, _format(format), _path(path)))


class Report:
    """A saved report, from a file name or from bytes (data=...)."""

    def __init__(self, path=None, *, data=None):
        if (path is None) == (data is None):
            raise ValueError("give a path or data")
        handle = _p()
        if data is not None:
            data = bytes(data)
            _check(_lib.vxp2bmp_report_open_memory(data, len(data), ctypes.byref(handle)))
        else:
            _check(_lib.vxp2bmp_report_open_file(_path(path), ctypes.byref(handle)))
        self._handle = handle

    def __del__(self):
        handle = getattr(self, "_handle", None)
        if handle:
            _lib.vxp2bmp_report_free(handle)
            self._handle = None

    @property
    def page_count(self):
        count = ctypes.c_int32()
        _check(_lib.vxp2bmp_report_page_count(self._handle, ctypes.byref(count)))
        return count.value

    def page_size(self, page):
        size = PageSize()
        _check(_lib.vxp2bmp_report_page_size(self._handle, page, ctypes.byref(size)))
        return size

    def render_page(self, page, resolution=300, depth=8, width=None, height=None):
        handle = _p()
        settings = _settings(resolution, depth, width, height)
        _check(_lib.vxp2bmp_report_render_page(self._handle, page, ctypes.byref(settings), ctypes.byref(handle)))
        return Bitmap(handle)


def render_metafile(path=None, *, data=None, resolution=300, depth=8, width=None, height=None):
    """A .emf or placeable .wmf, from a file name or from bytes, rendered to a Bitmap."""
    if (path is None) == (data is None):
        raise ValueError("give a path or data")
    handle = _p()
    settings = _settings(resolution, depth, width, height)
    if data is not None:
        data = bytes(data)
        _check(_lib.vxp2bmp_render_metafile_memory(data, len(data), ctypes.byref(settings), ctypes.byref(handle)))
    else:
        _check(_lib.vxp2bmp_render_metafile_file(_path(path), ctypes.byref(settings), ctypes.byref(handle)))
    return Bitmap(handle)


def metafile_size(path=None, *, data=None):
    """A metafile's PageSize, from a file name or from bytes."""
    if (path is None) == (data is None):
        raise ValueError("give a path or data")
    size = PageSize()
    if data is not None:
        data = bytes(data)
        _check(_lib.vxp2bmp_metafile_size_memory(data, len(data), ctypes.byref(size)))
    else:
        _check(_lib.vxp2bmp_metafile_size_file(_path(path), ctypes.byref(size)))
    return size
