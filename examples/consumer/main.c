/* about: lists the resources compiled into the program, or those of a
 * resource.bin file given as argument (--file reads the one the build wrote).
 *
 * A resource image is a 32-bit total length, then one record per resource:
 * a 16-bit identifier and an outer block (a 32-bit length that counts
 * itself, then the inner blocks). The first inner block holds the object
 * type. Numbers are little-endian. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "resource.h"     /* #define FORM_ABOUT 3000 ... */
#include "resource_bin.h" /* orrinrc_resource_bin, orrinrc_resource_bin_size */

static unsigned long le(const unsigned char* p, int bytes) {
    unsigned long v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

static const char* kind_name(unsigned code) {
    static const char* const names[] = {"FORM",  "CONTROL", "FIELD",  "LIST",   "MENU",    "SCROLLBAR",
                                        "TABLE", "SCHLINE", "STRING", "BITMAP", "TEXTBOX", "LINE"};
    return code < sizeof names / sizeof names[0] ? names[code] : "?";
}

static const char* name_of(unsigned long id) {
    switch (id) {
    case FORM_ABOUT: return "FORM_ABOUT";
    case BTN_OK: return "BTN_OK";
    case STR_VERSION: return "STR_VERSION";
    case BMP_ARROW: return "BMP_ARROW";
    default: return "";
    }
}

/* Prints one line per record; 0 when the image is whole, 1 otherwise. */
static int list(const unsigned char* image, size_t size) {
    if (size < 4 || le(image, 4) != size) {
        fprintf(stderr, "about: not a whole resource image (%zu bytes)\n", size);
        return 1;
    }
    for (size_t at = 4; at < size;) {
        if (size - at < 11) return fprintf(stderr, "about: record cut at %zu\n", at), 1;
        const unsigned long id = le(image + at, 2);
        const unsigned long outer = le(image + at + 2, 4);
        if (outer < 9 || outer > size - at - 2) return fprintf(stderr, "about: bad record at %zu\n", at), 1;
        printf("%-10s %5lu %-12s %lu bytes\n", kind_name(image[at + 10]), id, name_of(id), outer + 2);
        at += 2 + outer;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 1) return list(orrinrc_resource_bin, orrinrc_resource_bin_size);
    const char* path = strcmp(argv[1], "--file") == 0 ? ABOUT_RESOURCE_BIN : argv[1];
    FILE* f = fopen(path, "rb");
    if (f == NULL) return perror(path), 2;
    static unsigned char buffer[1 << 20];
    const size_t size = fread(buffer, 1, sizeof buffer, f);
    fclose(f);
    return list(buffer, size);
}
