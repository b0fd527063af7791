// The main program's binding to the engine library: libzelkor32.so is
// loaded by name at the first call of any operation (found beside the
// program through the RUNPATH $ORIGIN), and each entry is looked up by its
// exact name. When the library or an entry is missing the call does not run
// and reports it through `ok`.
#pragma once

#include "zelkor32.h"

#include <string>

namespace zk::engine {

// True when the library is loaded (loading it now if needed).
bool load();
// The loader's last error, for diagnostics.
std::string lastError();
// For tests: the name of the library to load (default "libzelkor32.so").
void setLibraryName(const std::string &name);
// Unload, so that the next call binds again.
void unload();

// Each operation returns the library's result; `ok` (when given) is set to
// false, and the result is 0, when the operation could not be called.
int32_t callback(ZkHook hook, bool *ok = nullptr);
int32_t fastdraw(MapSettings *map, ZkArray **grid, ZkDC *hdc, int16_t x1, int16_t y1, int16_t x2, int16_t y2,
                 const int16_t *levels, const int16_t *red, const int16_t *green, const int16_t *blue,
                 int16_t interp, bool *ok = nullptr);
int32_t colortest(ZkDC *hdc, bool *ok = nullptr);
int32_t translate(const ZkPalette *hpal, bool *ok = nullptr);
int32_t getadrg(const char *path, ZkDC *hdc, int16_t tile, int16_t x, int16_t y, float stepY, float stepX,
                bool *ok = nullptr);
int32_t mergemultiply(ZkDC *dst, int32_t cols, int32_t rows, ZkDC *src, float x0, float y0, float x1, float y1,
                      float x2, float y2, float x3, float y3, int16_t mode, bool *ok = nullptr);
int32_t top3d(ZkArray **grid, ZkDC *src, ZkDC *dst, float scale, float base, bool *ok = nullptr);
int32_t drawpic3D(ZkArray **grid, ZkDC *map, ZkDC *dst, int32_t width, int32_t height, float b, float fov,
                  float stp, float ox, float oy, float oz, float tx, float ty, float tz, int32_t sky,
                  int32_t far_, int32_t mask, bool *ok = nullptr);
int32_t getdted(ZkArray **grid, const char *path, int16_t flag, int32_t i0, int32_t j0, float stepI, float stepJ,
                bool *ok = nullptr);
int32_t getterrain(ZkArray **grid, ZkArray **src, int32_t i0, int32_t j0, float stepI, float stepJ,
                   bool *ok = nullptr);
int32_t gettopo30(ZkArray **grid, const char *path, float x0, float y0, float stepI, float stepJ,
                  uint8_t antarctic, bool *ok = nullptr);
int32_t getmapstat(MapSettings *map, ZkArray **grid, bool *ok = nullptr);
int32_t LR(double *pfl, double *lrloss, LinkParameters *prm, bool *ok = nullptr);

// The engine's LR entry itself (null when it cannot be bound), for callers
// that run it on several threads at once: bind it here, on one thread, and
// call it from any; the model keeps no state between calls.
using LRFunction = int32_t (*)(double *pfl, double *lrloss, LinkParameters *prm);
LRFunction lrfunction();

}  // namespace zk::engine
