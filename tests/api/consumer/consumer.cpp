// An embedder of the installed library: renders page 1 of a report to PNG
// bytes and a metafile to a BMP file, and checks an error's class.
// Arguments: a .vxp report, a .emf metafile, an output file.
#include <vxp2bmp/vxp2bmp.hpp>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  try {
    const vxp2bmp::Report report = vxp2bmp::Report::open_file(argv[1]);
    const std::vector<uint8_t> png = report.render_page(1, {100}).encode(vxp2bmp::Format::png);
    if (png.size() < 8 || png[1] != 'P') return 3;
    vxp2bmp::render_metafile_file(argv[2], {}).save(argv[3], vxp2bmp::Format::bmp);
    std::printf("%s: %d pages, page 1 as %zu PNG bytes\n", vxp2bmp::version(), report.page_count(), png.size());
  } catch (const vxp2bmp::Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  try {
    vxp2bmp::Report::open_file("/nonexistent.vxp");
    return 4;
  } catch (const vxp2bmp::Error& e) {
    if (e.class_name() != "EFOpenError") return 5;
  }
  return 0;
}
