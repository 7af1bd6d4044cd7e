/* The C interface from a C program: reports from a file and from memory,
 * metafiles, encoding, saving, and the errors with their class and message.
 * Arguments: the samples folder and a folder for output files. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "vxp2bmp/vxp2bmp.h"

static int failures = 0;

#define CHECK(condition)                                                   \
  do {                                                                     \
    if (!(condition)) {                                                    \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                          \
    }                                                                      \
  } while (0)

static unsigned char* read_file(const char* path, size_t* size) {
  FILE* file = fopen(path, "rb");
  if (file == NULL) return NULL;
  fseek(file, 0, SEEK_END);
  long length = ftell(file);
  fseek(file, 0, SEEK_SET);
  unsigned char* data = malloc(length > 0 ? (size_t)length : 1);
  *size = fread(data, 1, (size_t)length, file);
  fclose(file);
  return data;
}

static int32_t le32(const uint8_t* p) {
  return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24);
}

static void test_errors(const char* samples) {
  vxp2bmp_report* report = (vxp2bmp_report*)1;
  CHECK(vxp2bmp_report_open_file("/nonexistent/x.vxp", &report) == VXP2BMP_OPEN_ERROR);
  CHECK(report == NULL);
  CHECK(strcmp(vxp2bmp_error_class(), "EFOpenError") == 0);
  CHECK(strcmp(vxp2bmp_error_message(), "Cannot open file \"/nonexistent/x.vxp\". No such file or directory") == 0);

  CHECK(vxp2bmp_report_open_file(NULL, &report) == VXP2BMP_INVALID_ARGUMENT);
  CHECK(vxp2bmp_report_page_count(NULL, NULL) == VXP2BMP_INVALID_ARGUMENT);

  const unsigned char junk[200] = {7};
  vxp2bmp_bitmap* bitmap = NULL;
  CHECK(vxp2bmp_render_metafile_memory(junk, sizeof junk, NULL, &bitmap) == VXP2BMP_INVALID_GRAPHIC);
  CHECK(bitmap == NULL);
  CHECK(strcmp(vxp2bmp_error_class(), "EInvalidGraphic") == 0);
  CHECK(strcmp(vxp2bmp_error_message(), "Metafile is not valid") == 0);

  char path[4096];
  snprintf(path, sizeof path, "%s/shapes.emf", samples);
  vxp2bmp_render_settings settings = vxp2bmp_default_settings();
  settings.depth = 16;
  CHECK(vxp2bmp_render_metafile_file(path, &settings, &bitmap) == VXP2BMP_UNSUPPORTED);
  CHECK(strcmp(vxp2bmp_error_message(), "Pixel depth 16 is not supported") == 0);
}

static void test_report(const char* samples, const char* out) {
  char path[4096];
  snprintf(path, sizeof path, "%s/demo-report.vxp", samples);
  vxp2bmp_report* from_file = NULL;
  CHECK(vxp2bmp_report_open_file(path, &from_file) == VXP2BMP_OK);
  size_t size = 0;
  unsigned char* data = read_file(path, &size);
  CHECK(data != NULL);
  vxp2bmp_report* from_memory = NULL;
  CHECK(vxp2bmp_report_open_memory(data, size, &from_memory) == VXP2BMP_OK);
  free(data);  /* the report keeps its own copy */
  if (from_file == NULL || from_memory == NULL) return;

  int32_t count = 0, count_memory = 0;
  CHECK(vxp2bmp_report_page_count(from_file, &count) == VXP2BMP_OK);
  CHECK(vxp2bmp_report_page_count(from_memory, &count_memory) == VXP2BMP_OK);
  CHECK(count > 0);
  CHECK(count == count_memory);

  vxp2bmp_page_size page = {0};
  CHECK(vxp2bmp_report_page_size(from_file, 1, &page) == VXP2BMP_OK);
  CHECK(page.pixel_width > 0 && page.pixel_height > 0 && page.frame_width > 0);
  CHECK(vxp2bmp_report_page_size(from_file, count + 1, &page) == VXP2BMP_INVALID_ARGUMENT);
  CHECK(vxp2bmp_report_page_size(from_file, 0, &page) == VXP2BMP_INVALID_ARGUMENT);

  /* At the screen's 96 dots per inch the bitmap has the page's pixel size. */
  vxp2bmp_render_settings settings = vxp2bmp_default_settings();
  CHECK(settings.resolution == 300 && settings.depth == 8);
  settings.resolution = 96;
  vxp2bmp_bitmap* a = NULL;
  vxp2bmp_bitmap* b = NULL;
  CHECK(vxp2bmp_report_render_page(from_file, 1, &settings, &a) == VXP2BMP_OK);
  CHECK(vxp2bmp_report_render_page(from_memory, 1, &settings, &b) == VXP2BMP_OK);
  if (a == NULL || b == NULL) return;
  CHECK(vxp2bmp_bitmap_width(a) == page.pixel_width);
  CHECK(vxp2bmp_bitmap_height(a) == page.pixel_height);
  CHECK(vxp2bmp_bitmap_depth(a) == 8);

  uint8_t* bmp_a = NULL;
  uint8_t* bmp_b = NULL;
  size_t size_a = 0, size_b = 0;
  CHECK(vxp2bmp_bitmap_encode(a, VXP2BMP_FORMAT_BMP, &bmp_a, &size_a) == VXP2BMP_OK);
  CHECK(vxp2bmp_bitmap_encode(b, VXP2BMP_FORMAT_BMP, &bmp_b, &size_b) == VXP2BMP_OK);
  CHECK(size_a > 1078 && size_a == size_b && memcmp(bmp_a, bmp_b, size_a) == 0);
  CHECK(bmp_a[0] == 'B' && bmp_a[1] == 'M');
  CHECK(le32(bmp_a + 38) == 3780); /* 96 dots per inch in pixels per metre */

  uint8_t* png = NULL;
  size_t png_size = 0;
  CHECK(vxp2bmp_bitmap_encode(a, VXP2BMP_FORMAT_PNG, &png, &png_size) == VXP2BMP_OK);
  CHECK(png_size > 8 && memcmp(png, "\x89PNG\r\n\x1a\n", 8) == 0);

  /* Saving writes exactly the encoded bytes. */
  char saved[4096];
  snprintf(saved, sizeof saved, "%s/page1.bmp", out);
  CHECK(vxp2bmp_bitmap_save(a, VXP2BMP_FORMAT_BMP, saved) == VXP2BMP_OK);
  size_t saved_size = 0;
  unsigned char* saved_bytes = read_file(saved, &saved_size);
  CHECK(saved_bytes != NULL && saved_size == size_a && memcmp(saved_bytes, bmp_a, size_a) == 0);
  free(saved_bytes);
  CHECK(vxp2bmp_bitmap_save(a, VXP2BMP_FORMAT_PNG, "/nonexistent/dir/p.png") == VXP2BMP_CREATE_ERROR);
  CHECK(strcmp(vxp2bmp_error_class(), "EFCreateError") == 0);

  /* A pixel width: the height follows the page's aspect. */
  settings.width = page.pixel_width / 2;
  vxp2bmp_bitmap* half = NULL;
  CHECK(vxp2bmp_report_render_page(from_file, 1, &settings, &half) == VXP2BMP_OK);
  CHECK(vxp2bmp_bitmap_width(half) == page.pixel_width / 2);
  int32_t expected = (int32_t)((double)page.pixel_height * (page.pixel_width / 2) / page.pixel_width + 0.5);
  CHECK(abs(vxp2bmp_bitmap_height(half) - expected) <= 1);

  vxp2bmp_buffer_free(bmp_a);
  vxp2bmp_buffer_free(bmp_b);
  vxp2bmp_buffer_free(png);
  vxp2bmp_bitmap_free(a);
  vxp2bmp_bitmap_free(b);
  vxp2bmp_bitmap_free(half);
  vxp2bmp_report_free(from_file);
  vxp2bmp_report_free(from_memory);
}

static void test_metafile(const char* samples) {
  char path[4096];
  snprintf(path, sizeof path, "%s/shapes.wmf", samples);
  size_t size = 0;
  unsigned char* data = read_file(path, &size);
  CHECK(data != NULL);
  vxp2bmp_bitmap* from_file = NULL;
  vxp2bmp_bitmap* from_memory = NULL;
  CHECK(vxp2bmp_render_metafile_file(path, NULL, &from_file) == VXP2BMP_OK);
  CHECK(vxp2bmp_render_metafile_memory(data, size, NULL, &from_memory) == VXP2BMP_OK);
  vxp2bmp_page_size picture = {0};
  CHECK(vxp2bmp_metafile_size_memory(data, size, &picture) == VXP2BMP_OK);
  free(data);
  if (from_file == NULL || from_memory == NULL) return;
  uint8_t* a = NULL;
  uint8_t* b = NULL;
  size_t size_a = 0, size_b = 0;
  CHECK(vxp2bmp_bitmap_encode(from_file, VXP2BMP_FORMAT_PNG, &a, &size_a) == VXP2BMP_OK);
  CHECK(vxp2bmp_bitmap_encode(from_memory, VXP2BMP_FORMAT_PNG, &b, &size_b) == VXP2BMP_OK);
  CHECK(size_a > 0 && size_a == size_b && memcmp(a, b, size_a) == 0);
  /* The default 300 dots per inch on the 96 screen: 3.125 times the pixel size. */
  CHECK(abs(vxp2bmp_bitmap_width(from_file) - (int32_t)(picture.pixel_width * 3.125 + 0.5)) <= 1);
  vxp2bmp_buffer_free(a);
  vxp2bmp_buffer_free(b);
  vxp2bmp_bitmap_free(from_file);
  vxp2bmp_bitmap_free(from_memory);
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s SAMPLES OUT\n", argv[0]);
    return 2;
  }
  mkdir(argv[2], 0755);
  CHECK(strlen(vxp2bmp_version()) > 0);
  test_errors(argv[1]);
  test_report(argv[1], argv[2]);
  test_metafile(argv[1]);
  if (failures == 0) printf("C interface: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
