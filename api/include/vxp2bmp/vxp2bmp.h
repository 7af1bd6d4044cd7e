/* vxp2bmp for C and for other languages' foreign-function interfaces: the
 * C++ API (vxp2bmp.hpp) behind opaque handles. Every function that can fail
 * returns a status; on failure vxp2bmp_error_class() and vxp2bmp_error_message()
 * hold what the tool would report, until the next failing call of the same
 * thread. Handles are released with their *_free function; a NULL handle is
 * refused with VXP2BMP_INVALID_ARGUMENT. */
#ifndef VXP2BMP_H
#define VXP2BMP_H

#include <stddef.h>
#include <stdint.h>

#if defined(VXP2BMP_BUILDING)
#define VXP2BMP_C_API __attribute__((visibility("default")))
#else
#define VXP2BMP_C_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum vxp2bmp_status {
  VXP2BMP_OK = 0,
  VXP2BMP_INVALID_ARGUMENT = 1,    /* a NULL pointer or handle, a page out of range */
  VXP2BMP_OPEN_ERROR = 2,          /* EFOpenError: a file cannot be opened */
  VXP2BMP_CREATE_ERROR = 3,        /* EFCreateError: a file cannot be created */
  VXP2BMP_READ_ERROR = 4,          /* EReadError: data cut short */
  VXP2BMP_WRITE_ERROR = 5,         /* EWriteError */
  VXP2BMP_INVALID_GRAPHIC = 6,     /* EInvalidGraphic: not a valid metafile or bitmap */
  VXP2BMP_OUT_OF_RESOURCES = 7,    /* EOutOfResources, or out of memory */
  VXP2BMP_UNSUPPORTED = 8,         /* EInvalidOperation: a setting this build cannot do */
  VXP2BMP_FAILED = 9               /* any other error class */
} vxp2bmp_status;

typedef enum vxp2bmp_format { VXP2BMP_FORMAT_BMP = 0, VXP2BMP_FORMAT_PNG = 1 } vxp2bmp_format;

typedef struct vxp2bmp_report vxp2bmp_report;
typedef struct vxp2bmp_bitmap vxp2bmp_bitmap;

typedef struct vxp2bmp_render_settings {
  int32_t resolution; /* dots per inch; 0 or below: one pixel per screen pixel */
  int32_t depth;      /* bits per pixel: 8; 24 and 32 where the build draws true colour */
  int32_t width;      /* pixels, replaces the resolution; 0: not set */
  int32_t height;     /* 0: not set; a side not set follows the aspect */
} vxp2bmp_render_settings;

typedef struct vxp2bmp_page_size {
  int32_t pixel_width;  /* screen pixels, 96 per inch */
  int32_t pixel_height;
  int32_t frame_width;  /* 0.01 mm */
  int32_t frame_height;
} vxp2bmp_page_size;

VXP2BMP_C_API const char* vxp2bmp_version(void);
/* The settings the tool uses without options: 300 dpi, 8 bits per pixel. */
VXP2BMP_C_API vxp2bmp_render_settings vxp2bmp_default_settings(void);

/* Class name ("EFOpenError", ...) and message of this thread's last failure. */
VXP2BMP_C_API const char* vxp2bmp_error_class(void);
VXP2BMP_C_API const char* vxp2bmp_error_message(void);

VXP2BMP_C_API vxp2bmp_status vxp2bmp_report_open_file(const char* path, vxp2bmp_report** report);
VXP2BMP_C_API vxp2bmp_status vxp2bmp_report_open_memory(const void* data, size_t size, vxp2bmp_report** report);
VXP2BMP_C_API void vxp2bmp_report_free(vxp2bmp_report* report);
VXP2BMP_C_API vxp2bmp_status vxp2bmp_report_page_count(const vxp2bmp_report* report, int32_t* count);
VXP2BMP_C_API vxp2bmp_status vxp2bmp_report_page_size(const vxp2bmp_report* report, int32_t page,
                                                      vxp2bmp_page_size* size);
/* settings may be NULL for the defaults. */
VXP2BMP_C_API vxp2bmp_status vxp2bmp_report_render_page(const vxp2bmp_report* report, int32_t page,
                                                        const vxp2bmp_render_settings* settings,
                                                        vxp2bmp_bitmap** bitmap);

VXP2BMP_C_API vxp2bmp_status vxp2bmp_render_metafile_file(const char* path, const vxp2bmp_render_settings* settings,
                                                          vxp2bmp_bitmap** bitmap);
VXP2BMP_C_API vxp2bmp_status vxp2bmp_render_metafile_memory(const void* data, size_t size,
                                                            const vxp2bmp_render_settings* settings,
                                                            vxp2bmp_bitmap** bitmap);

VXP2BMP_C_API vxp2bmp_status vxp2bmp_metafile_size_file(const char* path, vxp2bmp_page_size* size);
VXP2BMP_C_API vxp2bmp_status vxp2bmp_metafile_size_memory(const void* data, size_t size,
                                                          vxp2bmp_page_size* page_size);

VXP2BMP_C_API void vxp2bmp_bitmap_free(vxp2bmp_bitmap* bitmap);
VXP2BMP_C_API int32_t vxp2bmp_bitmap_width(const vxp2bmp_bitmap* bitmap);
VXP2BMP_C_API int32_t vxp2bmp_bitmap_height(const vxp2bmp_bitmap* bitmap);
VXP2BMP_C_API int32_t vxp2bmp_bitmap_depth(const vxp2bmp_bitmap* bitmap);
/* *data receives a buffer for vxp2bmp_buffer_free (NULL when *size is 0). */
VXP2BMP_C_API vxp2bmp_status vxp2bmp_bitmap_encode(const vxp2bmp_bitmap* bitmap, vxp2bmp_format format,
                                                   uint8_t** data, size_t* size);
VXP2BMP_C_API vxp2bmp_status vxp2bmp_bitmap_save(const vxp2bmp_bitmap* bitmap, vxp2bmp_format format,
                                                 const char* path);
VXP2BMP_C_API void vxp2bmp_buffer_free(uint8_t* data);

#ifdef __cplusplus
}
#endif

#endif
