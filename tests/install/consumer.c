/* A C program built against an installed zarnutils found with pkg-config: a
 * unit conversion and a list. Exits 0 when the results are right. */
#include <math.h>
#include <stdio.h>

#include "zarnutils/zarnutils.h"

int main(void) {
    int ptype = 0, uom = 0;
    rtouom_locate2("PSIG", &ptype, &uom);
    const double pa = rtouom_pair2si(0.0, ptype, uom);
    rtvarlst_t *list = rtovarlst_create(2);
    rtovarlst_set_nvar(list, 2);
    rtovarlst_addvar(list, 2, "FEED.T");
    const int32_t found = rtovarlst__varname2index(list, "FEED.T");
    rtovarlst_destroy_c(&list);
    if (fabs(pa - 101325.0) > 1e-6 || found != 2) {
        printf("0 PSIG is %.17g Pa (not 101325); FEED.T is item %d (not 2)\n", pa, (int)found);
        return 1;
    }
    printf("C consumer: ok\n");
    return 0;
}
