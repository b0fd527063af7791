/* A C caller of the engine: includes the public header, binds the shared
 * library with dlopen and calls the operations that take no grid. */
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
    dlclose(lib);
    printf("C interface: ok\n");
    return 0;
}
