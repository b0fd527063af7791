/* A C caller of the engine: includes the public header, binds the shared
 * library with dlopen and calls the operations, the grid ones on a small grid
 * passed as the caller's descriptor pointer. */
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zelkor32.h"

static int calls;
static int32_t stopper(int32_t counter) { (void)counter; ++calls; return 0; }

#define CHECK(c) do { if (!(c)) { fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #c); return 1; } } while (0)

int main(void)
{
    void *lib = dlopen("libzelkor32.so", RTLD_NOW);
    if (!lib) {
        /* A sanitizer runtime that intercepts dlopen hides our RUNPATH:
           load it from beside the program. */
        char exe[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 32);
        if (n > 0) {
            exe[n] = 0;
            strcpy(strrchr(exe, '/') + 1, "libzelkor32.so");
            lib = dlopen(exe, RTLD_NOW);
        }
    }
    CHECK(lib != NULL);
    int32_t (*cb)(ZkHook) = (int32_t (*)(ZkHook))dlsym(lib, "callback");
    int32_t (*tr)(const ZkPalette *) = (int32_t (*)(const ZkPalette *))dlsym(lib, "translate");
    int32_t (*ct)(ZkDC *) = (int32_t (*)(ZkDC *))dlsym(lib, "colortest");
    CHECK(cb && tr && ct);
    CHECK(dlsym(lib, "rampColour") == NULL); /* internals stay hidden */

    CHECK(cb(NULL) == 1);
    CHECK(cb(stopper) == 1);
    CHECK(cb(NULL) == 1);
    CHECK(tr(NULL) == 0);

    uint32_t *bits = calloc(256 * 32, sizeof(uint32_t));
    ZkDC dc = {bits, 256, 32, 256, NULL};
    CHECK(ct(&dc) == 256);
    /* the grey ramp (6) at its top entry: 254, 254, 254 */
    CHECK((bits[24 * 256 + 255] & 0xFFFFFF) == 0xFEFEFE);
    CHECK((bits[24 * 256 + 255] >> 24) == 0xFF);
    free(bits);
    CHECK(calls == 0);

    /* The raster and terrain operations on a 4 x 3 grid. */
    typedef int32_t (*FastdrawFn)(MapSettings *, ZkArray **, ZkDC *, int16_t, int16_t, int16_t, int16_t,
                                  const int16_t *, const int16_t *, const int16_t *, const int16_t *, int16_t);
    typedef int32_t (*MapstatFn)(MapSettings *, ZkArray **);
    typedef int32_t (*TerrainFn)(ZkArray **, ZkArray **, int32_t, int32_t, float, float);
    typedef int32_t (*DtedFn)(ZkArray **, const char *, int16_t, int32_t, int32_t, float, float);
    typedef int32_t (*Topo30Fn)(ZkArray **, const char *, float, float, float, float, uint8_t);
    typedef int32_t (*AdrgFn)(const char *, ZkDC *, int16_t, int16_t, int16_t, float, float);
    typedef int32_t (*MergeFn)(ZkDC *, int32_t, int32_t, ZkDC *, float, float, float, float, float, float, float,
                               float, int16_t);
    typedef int32_t (*Top3dFn)(ZkArray **, ZkDC *, ZkDC *, float, float);
    typedef int32_t (*Pic3dFn)(ZkArray **, ZkDC *, ZkDC *, int32_t, int32_t, float, float, float, float, float,
                               float, float, float, float, int32_t, int32_t, int32_t);
    FastdrawFn fd = (FastdrawFn)dlsym(lib, "fastdraw");
    MapstatFn ms = (MapstatFn)dlsym(lib, "getmapstat");
    TerrainFn gt = (TerrainFn)dlsym(lib, "getterrain");
    DtedFn gd = (DtedFn)dlsym(lib, "getdted");
    Topo30Fn g30 = (Topo30Fn)dlsym(lib, "gettopo30");
    AdrgFn ga = (AdrgFn)dlsym(lib, "getadrg");
    MergeFn mm = (MergeFn)dlsym(lib, "mergemultiply");
    Top3dFn t3 = (Top3dFn)dlsym(lib, "top3d");
    Pic3dFn p3 = (Pic3dFn)dlsym(lib, "drawpic3D");
    CHECK(fd && ms && gt && gd && g30 && ga && mm && t3 && p3);

    int16_t cells[12] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    ZkArray grid = {2, {0, 0}, {3, 2}, cells};
    ZkArray *gp = &grid;

    MapSettings map;
    memset(&map, 0, sizeof map);
    map.hmin = 9999;
    map.hmax = -999;
    CHECK(ms(&map, &gp) == 1);
    CHECK(map.hmin == 10 && map.hmax == 120 && map.hmoy == 65); /* written through the pointer */

    uint32_t px[12];
    ZkDC pic = {px, 4, 3, 4, NULL};
    map.Mapmode = 4;
    map.minx = 0;
    map.maxx = 255;
    memset(px, 0, sizeof px);
    CHECK(fd(&map, &gp, &pic, 0, 0, 3, 2, NULL, NULL, NULL, NULL, 0) == 0);
    /* X-ray: pixel (0, 0) is the north-west cell, 90 m: grey entry 90 = 90 */
    CHECK((px[0] & 0xFFFFFF) == 0x5A5A5A);

    int16_t tcells[4] = {1, 2, 3, 4};
    ZkArray tile = {2, {0, 0}, {1, 1}, tcells};
    ZkArray *tp = &tile;
    CHECK(gt(&gp, &tp, 0, 0, 1.0f, 1.0f) == 1);
    CHECK(cells[0] == 1); /* tile (0, 0) */
    CHECK(gt(&gp, &tp, 0, 0, 0.0f, 1.0f) == 0);

    CHECK(gd(&gp, "/nonexistent/N45.DT1", 0, 0, 0, 1.0f, 1.0f) == 0);
    CHECK(g30(&gp, "/nonexistent/W100N90.DEM", 0, 0, 1.0f, 1.0f, 0) == 0);
    CHECK(g30(&gp, "/nonexistent/W100N90.DEM", 0, 0, 0.0f, 1.0f, 0) == 0);
    CHECK(ga("/nonexistent/TEST01.IMG", &pic, 0, 0, 0, 1.0f, 1.0f) == 0);

    uint32_t out[12];
    ZkDC dst = {out, 4, 3, 4, NULL};
    memset(out, 0, sizeof out);
    CHECK(mm(&dst, 4, 3, &pic, 0, 0, 3, 0, 3, 2, 0, 2, 0) == 3);
    CHECK(memcmp(out, px, sizeof px) == 0);
    CHECK(t3(&gp, &pic, &dst, 0.0f, 0.0f) == 3);
    CHECK(p3(&gp, &pic, &dst, 4, 3, 1.0f, 1.0f, 0.5f, 1, 2, 100, 1, 0, 0, 0, 0, 0) >= 0);
    CHECK(p3(&gp, &pic, &dst, 4, 3, 0.0f, 1.0f, 0.5f, 1, 2, 100, 1, 0, 0, 0, 0, 0) == 0);

    /* A hook that stops: each loop ends after its first row or column. */
    calls = 0;
    cb(stopper);
    CHECK(ms(&map, &gp) == 1);
    CHECK(calls == 1);
    cb(NULL);
    dlclose(lib);
    printf("C interface: ok\n");
    return 0;
}
