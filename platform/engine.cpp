#include "engine.h"

#include <dlfcn.h>

#include <atomic>
#include <limits.h>
#include <unistd.h>

namespace zk::engine {

namespace {
std::string g_name = "libzelkor32.so";
void *g_handle = nullptr;
std::string g_error;

template <typename Fn>
Fn entry(const char *name)
{
    if (!load()) return nullptr;
    void *p = dlsym(g_handle, name);
    if (!p) {
        const char *e = dlerror();
        g_error = e ? e : name;
    }
    return reinterpret_cast<Fn>(p);
}

// Looks the entry up once per binding and calls it, or answers 0 with ok = false.
// Operations may run on several threads at once once the library is loaded:
// the binding is kept in atomics.
#define ZK_CALL(name, ...)                                              \
    do {                                                                \
        using Fn = decltype(&::name);                                   \
        static std::atomic<Fn> bound{nullptr};                          \
        static std::atomic<void *> boundTo{nullptr};                    \
        Fn fn = bound.load(std::memory_order_acquire);                  \
        if (!fn || boundTo.load(std::memory_order_acquire) != g_handle) { \
            fn = entry<Fn>(#name);                                      \
            boundTo.store(g_handle, std::memory_order_release);         \
            bound.store(fn, std::memory_order_release);                 \
        }                                                               \
        if (ok) *ok = fn != nullptr;                                    \
        return fn ? fn(__VA_ARGS__) : 0;                                \
    } while (0)
}  // namespace

bool load()
{
    if (g_handle) return true;
    dlerror();
    g_handle = dlopen(g_name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!g_handle && g_name.find('/') == std::string::npos) {
        // The RUNPATH $ORIGIN search is lost when a sanitizer runtime
        // intercepts dlopen: look beside the program explicitly.
        char exe[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
        if (n > 0) {
            std::string dir(exe, size_t(n));
            dir.resize(dir.rfind('/') + 1);
            g_handle = dlopen((dir + g_name).c_str(), RTLD_NOW | RTLD_LOCAL);
        }
    }
    if (!g_handle) {
        const char *e = dlerror();
        g_error = e ? e : "dlopen failed";
    }
    return g_handle != nullptr;
}

std::string lastError() { return g_error; }

void setLibraryName(const std::string &name)
{
    unload();
    g_name = name;
}

void unload()
{
    if (g_handle) dlclose(g_handle);
    g_handle = nullptr;
}

int32_t callback(ZkHook hook, bool *ok) { ZK_CALL(callback, hook); }
int32_t fastdraw(MapSettings *map, ZkArray **grid, ZkDC *hdc, int16_t x1, int16_t y1, int16_t x2, int16_t y2,
                 const int16_t *levels, const int16_t *red, const int16_t *green, const int16_t *blue,
                 int16_t interp, bool *ok)
{
    ZK_CALL(fastdraw, map, grid, hdc, x1, y1, x2, y2, levels, red, green, blue, interp);
}
int32_t colortest(ZkDC *hdc, bool *ok) { ZK_CALL(colortest, hdc); }
int32_t translate(const ZkPalette *hpal, bool *ok) { ZK_CALL(translate, hpal); }
int32_t getadrg(const char *path, ZkDC *hdc, int16_t tile, int16_t x, int16_t y, float stepY, float stepX, bool *ok)
{
    ZK_CALL(getadrg, path, hdc, tile, x, y, stepY, stepX);
}
int32_t mergemultiply(ZkDC *dst, int32_t cols, int32_t rows, ZkDC *src, float x0, float y0, float x1, float y1,
                      float x2, float y2, float x3, float y3, int16_t mode, bool *ok)
{
    ZK_CALL(mergemultiply, dst, cols, rows, src, x0, y0, x1, y1, x2, y2, x3, y3, mode);
}
int32_t top3d(ZkArray **grid, ZkDC *src, ZkDC *dst, float scale, float base, bool *ok)
{
    ZK_CALL(top3d, grid, src, dst, scale, base);
}
int32_t drawpic3D(ZkArray **grid, ZkDC *map, ZkDC *dst, int32_t width, int32_t height, float b, float fov,
                  float stp, float ox, float oy, float oz, float tx, float ty, float tz, int32_t sky,
                  int32_t far_, int32_t mask, bool *ok)
{
    ZK_CALL(drawpic3D, grid, map, dst, width, height, b, fov, stp, ox, oy, oz, tx, ty, tz, sky, far_, mask);
}
int32_t getdted(ZkArray **grid, const char *path, int16_t flag, int32_t i0, int32_t j0, float stepI, float stepJ,
                bool *ok)
{
    ZK_CALL(getdted, grid, path, flag, i0, j0, stepI, stepJ);
}
int32_t getterrain(ZkArray **grid, ZkArray **src, int32_t i0, int32_t j0, float stepI, float stepJ, bool *ok)
{
    ZK_CALL(getterrain, grid, src, i0, j0, stepI, stepJ);
}
int32_t gettopo30(ZkArray **grid, const char *path, float x0, float y0, float stepI, float stepJ,
                  uint8_t antarctic, bool *ok)
{
    ZK_CALL(gettopo30, grid, path, x0, y0, stepI, stepJ, antarctic);
}
int32_t getmapstat(MapSettings *map, ZkArray **grid, bool *ok) { ZK_CALL(getmapstat, map, grid); }
int32_t LR(double *pfl, double *lrloss, LinkParameters *prm, bool *ok) { ZK_CALL(LR, pfl, lrloss, prm); }

LRFunction lrfunction()
{
    static LRFunction fn = nullptr;
    static void *boundTo = nullptr;
    if (!fn || boundTo != g_handle) {
        fn = entry<LRFunction>("LR");
        boundTo = g_handle;
    }
    return fn;
}

}  // namespace zk::engine
