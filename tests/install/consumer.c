/* A C program built against an installed zarnutils found with pkg-config:
 * a unit conversion, a list and the digest of its names. Exits 0 when every
 * result is right, 1 with a line naming the wrong one. */
#include <math.h>
#include <stdio.h>

#include "zarnutils/zarnutils.h"

int main(void) {
    int ptype = 0, uom = 0;
    rtouom_locate2("PSIG", &ptype, &uom);
    const double pa = rtouom_pair2si(0.0, ptype, uom);
    if (fabs(pa - 101325.0) > 1e-6) {
        printf("0 PSIG is %.17g Pa, not 101325\n", pa);
        return 1;
    }
    rtvarlst_t *list = rtovarlst_create(2);
    rtovarlst_set_nvar(list, 2);
    rtovarlst_addvar(list, 1, "A");
    rtovarlst_addvar(list, 2, "BC");
    zarn_md5_ctx_t ctx;
    MD5Init(&ctx);
    const int32_t n = rtovarlst_compute_md(list, &ctx);
    MD5Final(&ctx);
    rtovarlst_destroy_c(&list);
    /* MD5 of "ABC", the names one after the other */
    static const unsigned char expected[16] = {0x90, 0x2f, 0xbd, 0xd2, 0xb1, 0xdf, 0x0c, 0x4f,
                                               0x70, 0xb4, 0xa5, 0xd2, 0x35, 0x25, 0xe9, 0x32};
    for (int k = 0; k < 16; ++k) {
        if (n != 2 || ctx.digest[k] != expected[k]) {
            printf("digest byte %d is %02x after %d names\n", k, ctx.digest[k], (int)n);
            return 1;
        }
    }
    printf("C consumer: ok\n");
    return 0;
}
