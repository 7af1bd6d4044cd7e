"""The Python module over the C interface: reports from files and bytes,
metafiles, encoding, and errors with the tool's class names and messages.
Run by ctest with VXP2BMP_LIBRARY, VXP2BMP_TOOL and VXP2BMP_SAMPLES set."""

import os
import struct
import subprocess
import tempfile
import unittest

import vxp2bmp

SAMPLES = os.environ["VXP2BMP_SAMPLES"]
TOOL = os.environ["VXP2BMP_TOOL"]
REPORT = os.path.join(SAMPLES, "demo-report.vxp")


class ReportTest(unittest.TestCase):
    def test_pages_render_exactly_as_the_tool_writes_them(self):
        report = vxp2bmp.Report(REPORT)
        self.assertEqual(report.page_count, 3)
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([TOOL, REPORT, os.path.join(folder, "p.bmp"), "-D", "40"], check=True)
            for page in range(1, 4):
                with open(os.path.join(folder, f"p{page:05d}.bmp"), "rb") as written:
                    self.assertEqual(report.render_page(page, resolution=40).encode("bmp"), written.read())

    def test_a_report_from_bytes_is_the_same_report(self):
        with open(REPORT, "rb") as source:
            from_bytes = vxp2bmp.Report(data=source.read())
        from_file = vxp2bmp.Report(REPORT)
        self.assertEqual(from_bytes.page_count, from_file.page_count)
        self.assertEqual(from_bytes.render_page(2, resolution=30).encode("png"),
                         from_file.render_page(2, resolution=30).encode("png"))

    def test_page_size_is_the_size_at_the_screens_resolution(self):
        report = vxp2bmp.Report(REPORT)
        size = report.page_size(1)
        self.assertGreater(size.frame_width, 0)
        bitmap = report.render_page(1, resolution=0)
        self.assertEqual((bitmap.width, bitmap.height), (size.pixel_width, size.pixel_height))
        self.assertEqual(bitmap.depth, 8)

    def test_a_width_sets_the_pixel_width(self):
        bitmap = vxp2bmp.Report(REPORT).render_page(1, width=200)
        self.assertEqual(bitmap.width, 200)
        data = bitmap.encode("bmp")
        self.assertEqual(struct.unpack_from("<i", data, 18)[0], 200)

    def test_png_bytes_and_saved_files(self):
        bitmap = vxp2bmp.Report(REPORT).render_page(3, resolution=20)
        png = bitmap.encode("png")
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual(png[12:16], b"IHDR")
        width, height, depth, colour_type = struct.unpack_from(">IIBB", png, 16)
        self.assertEqual((width, height, depth, colour_type), (bitmap.width, bitmap.height, 8, 3))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "page.png")
            bitmap.save(path, "png")
            with open(path, "rb") as saved:
                self.assertEqual(saved.read(), png)

    def test_errors_carry_the_tools_class_and_message(self):
        with self.assertRaises(vxp2bmp.Error) as caught:
            vxp2bmp.Report("/nonexistent/report.vxp")
        self.assertEqual(caught.exception.class_name, "EFOpenError")
        self.assertEqual(caught.exception.message,
                         'Cannot open file "/nonexistent/report.vxp". No such file or directory')
        with self.assertRaises(vxp2bmp.Error) as caught:
            vxp2bmp.Report(data=b"\0" * 10)
        self.assertEqual(caught.exception.class_name, "EReadError")
        self.assertEqual(caught.exception.message, "Stream read error")
        with self.assertRaises(vxp2bmp.Error) as caught:
            vxp2bmp.Report(REPORT).render_page(4)
        self.assertEqual(caught.exception.status, 1)
        with self.assertRaises(ValueError):
            vxp2bmp.Report(REPORT).render_page(1, resolution=10).encode("gif")


class MetafileTest(unittest.TestCase):
    def test_a_metafile_renders_as_the_tool_renders_it(self):
        path = os.path.join(SAMPLES, "shapes.emf")
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "out.bmp")
            subprocess.run([TOOL, path, out, "-D", "75"], check=True)
            with open(out, "rb") as written:
                self.assertEqual(vxp2bmp.render_metafile(path, resolution=75).encode(), written.read())

    def test_from_bytes_and_its_size(self):
        path = os.path.join(SAMPLES, "shapes.wmf")
        with open(path, "rb") as source:
            data = source.read()
        size = vxp2bmp.metafile_size(data=data)
        self.assertEqual(vxp2bmp.metafile_size(path).pixel_width, size.pixel_width)
        bitmap = vxp2bmp.render_metafile(data=data, resolution=0)
        self.assertEqual((bitmap.width, bitmap.height), (size.pixel_width, size.pixel_height))

    def test_damaged_data_is_no_valid_metafile(self):
        with self.assertRaises(vxp2bmp.Error) as caught:
            vxp2bmp.render_metafile(data=bytes(200))
        self.assertEqual((caught.exception.class_name, caught.exception.message),
                         ("EInvalidGraphic", "Metafile is not valid"))

    def test_version(self):
        self.assertRegex(vxp2bmp.version(), r"^\d+\.\d+\.\d+$")


if __name__ == "__main__":
    unittest.main()
