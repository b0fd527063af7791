/* zelkor32: the terrain, raster and propagation engine of Kestrova.
 *
 * Plain C interface, usable from C and C++. The main program binds it at run
 * time with dlopen("libzelkor32.so") and dlsym of each exact name below.
 *
 * Records keep the Windows layout rule: fields in order, each aligned to its
 * own size but never to more than 4 bytes. Both sides of the boundary must be
 * built with this header so that the layout matches.
 */
#ifndef ZELKOR32_H
#define ZELKOR32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ZK_EXPORT __attribute__((visibility("default")))
#else
#define ZK_EXPORT
#endif

/* Progress hook: called with the loop counter after each row or column of a
 * long loop; returning 0 asks the loop to stop. */
typedef int32_t (*ZkHook)(int32_t counter);

/* A 2-D array of 16-bit integers (the elevation grid, a Terrain tile). */
typedef struct ZkArray {
    int32_t  dims;         /* dimension count */
    int32_t  lbound[2];    /* lower bound of dimensions 1 and 2 */
    int32_t  ubound[2];    /* upper bound of dimensions 1 and 2 */
    int16_t *data;         /* first index fastest: element (i, j) at
                              (i - lbound[0]) + (j - lbound[1]) * (ubound[0] - lbound[0] + 1) */
} ZkArray;                 /* passed as ZkArray ** (the caller's descriptor pointer) */

/* A logical palette. */
typedef struct ZkPalette {
    int32_t  count;          /* entries in use, 1..256 */
    uint32_t entries[256];   /* colours, red in the low byte */
} ZkPalette;

/* A device context with its bitmap selected. */
typedef struct ZkDC {
    uint32_t *bits;            /* top row first; pixel (x, y) at bits[y * stride + x] */
    int32_t   width, height;   /* bitmap size in pixels */
    int32_t   stride;          /* pixels per row (>= width) */
    const ZkPalette *palette;  /* selected palette, or NULL */
} ZkDC;

/* Colour flags of a pixel write. */
#define ZK_PALETTERGB   0x02000000u  /* take the nearest colour of the selected palette */
#define ZK_PALETTEINDEX 0x01000000u  /* the low byte is a palette index */
#define ZK_CLR_INVALID  0xFFFFFFFFu  /* reply of a pixel read outside the bitmap */

#pragma pack(push, 4)

/* Map settings record: centre, extent, drawing settings, statistics. */
typedef struct MapSettings {
    float    lon;       /* centre longitude, degrees east */
    float    lat;       /* centre latitude, degrees north */
    float    size;      /* north-south extent, km */
    int16_t  Mapmode;   /* 0 grey relief .. 5 rainbow */
    float    con;       /* contrast, percent */
    float    bri;       /* brightness, percent */
    float    minx;      /* colour floor, m */
    float    maxx;      /* colour ceiling, m */
    float    light;     /* light azimuth, degrees */
    uint8_t  c1;        /* contour lines every 10 m when non-zero */
    uint8_t  c2;        /* bit 1: every 100 m; bit 2: every 500 m */
    float    hmin;      /* lowest elevation, m */
    float    hmax;      /* highest elevation, m */
    float    hmoy;      /* mean elevation, m */
    uint8_t  sources;   /* bits: 1 DTED, 2 GTOPO30, 4 Terrain */
    char     tag;       /* one 8-bit character, carried only */
} MapSettings;

/* Parameter block of LR: inputs set by the caller, outputs by LR. */
typedef struct LinkParameters {
    double  freq;      /* MHz */
    double  ns;        /* surface refractivity, N-units */
    double  eps;       /* ground relative permittivity */
    double  sigma;     /* ground conductivity, S/m */
    int32_t pol;       /* 0 horizontal, 1 vertical */
    int32_t climate;   /* 1..7 */
    int32_t mdvar;     /* statistics mode */
    double  h1;        /* antenna height of A above ground, m */
    double  h2;        /* antenna height of B above ground, m */
    double  ptime;     /* time percentage */
    double  ploc;      /* location percentage */
    double  psit;      /* situation percentage */
    int32_t interf;    /* 0 normal, 1 interference mode */
    int32_t firstpt;   /* first profile point of the per-point losses */
    double  loss;      /* out: path loss, dB */
    double  out1;      /* out: effective antenna height of A, m */
    double  out2;      /* out: effective antenna height of B, m */
    double  hd1;       /* out: horizon distance from A, m */
    double  hd2;       /* out: horizon distance from B, m */
    double  ha1;       /* out: horizon elevation angle at A, rad */
    double  ha2;       /* out: horizon elevation angle at B, rad */
    double  hx;        /* out: effective earth curvature, 1/m */
    double  fsloss;    /* out: free-space loss, dB */
    double  obsloss;   /* out: obstruction loss, dB */
    double  out10;     /* out: terrain irregularity, m */
    int32_t kwx;       /* out: warning code */
    int32_t losflag;   /* out: 1 line of sight */
    int32_t scatflag;  /* out: non-zero in the troposcatter range */
    int32_t lvar;      /* out: variability level the model left (0) */
} LinkParameters;

#pragma pack(pop)

#ifdef __cplusplus
#define ZK_STATIC_ASSERT static_assert
#else
#define ZK_STATIC_ASSERT _Static_assert
#endif
ZK_STATIC_ASSERT(sizeof(MapSettings) == 56, "MapSettings layout");
ZK_STATIC_ASSERT(__builtin_offsetof(MapSettings, Mapmode) == 12, "MapSettings.Mapmode");
ZK_STATIC_ASSERT(__builtin_offsetof(MapSettings, c1) == 36, "MapSettings.c1");
ZK_STATIC_ASSERT(__builtin_offsetof(MapSettings, hmin) == 40, "MapSettings.hmin");
ZK_STATIC_ASSERT(__builtin_offsetof(MapSettings, sources) == 52, "MapSettings.sources");
ZK_STATIC_ASSERT(sizeof(LinkParameters) == 196, "LinkParameters layout");
ZK_STATIC_ASSERT(__builtin_offsetof(LinkParameters, h1) == 44, "LinkParameters.h1");
ZK_STATIC_ASSERT(__builtin_offsetof(LinkParameters, interf) == 84, "LinkParameters.interf");
ZK_STATIC_ASSERT(__builtin_offsetof(LinkParameters, loss) == 92, "LinkParameters.loss");
ZK_STATIC_ASSERT(__builtin_offsetof(LinkParameters, kwx) == 180, "LinkParameters.kwx");
ZK_STATIC_ASSERT(__builtin_offsetof(LinkParameters, lvar) == 192, "LinkParameters.lvar");

/* The thirteen operations. 16-bit and 8-bit arguments use only their low bits. */
ZK_EXPORT int32_t callback(ZkHook hook);
ZK_EXPORT int32_t fastdraw(MapSettings *map, ZkArray **grid, ZkDC *hdc,
                           int16_t x1, int16_t y1, int16_t x2, int16_t y2,
                           const int16_t *levels, const int16_t *red, const int16_t *green,
                           const int16_t *blue, int16_t interp);
ZK_EXPORT int32_t colortest(ZkDC *hdc);
ZK_EXPORT int32_t translate(const ZkPalette *hpal);
ZK_EXPORT int32_t getadrg(const char *path, ZkDC *hdc, int16_t tile, int16_t x, int16_t y,
                          float stepY, float stepX);
ZK_EXPORT int32_t mergemultiply(ZkDC *hdcDst, int32_t cols, int32_t rows, ZkDC *hdcSrc,
                                float x0, float y0, float x1, float y1,
                                float x2, float y2, float x3, float y3, int16_t mode);
ZK_EXPORT int32_t top3d(ZkArray **grid, ZkDC *hdcSrc, ZkDC *hdcDst, float scale, float base);
ZK_EXPORT int32_t drawpic3D(ZkArray **grid, ZkDC *hdcMap, ZkDC *hdcDst, int32_t width,
                            int32_t height, float b, float fov, float stp, float ox, float oy,
                            float oz, float tx, float ty, float tz, int32_t sky, int32_t far_,
                            int32_t mask);
ZK_EXPORT int32_t getdted(ZkArray **grid, const char *path, int16_t flag, int32_t i0, int32_t j0,
                          float stepI, float stepJ);
ZK_EXPORT int32_t getterrain(ZkArray **grid, ZkArray **src, int32_t i0, int32_t j0, float stepI,
                             float stepJ);
ZK_EXPORT int32_t gettopo30(ZkArray **grid, const char *path, float x0, float y0, float stepI,
                            float stepJ, uint8_t antarctic);
ZK_EXPORT int32_t getmapstat(MapSettings *map, ZkArray **grid);
ZK_EXPORT int32_t LR(double *pfl, double *lrloss, LinkParameters *prm);

#ifdef __cplusplus
}
#endif

#endif /* ZELKOR32_H */
