/* Units of measure from a host program: look a unit up by name, convert
 * values both ways, add a unit of one's own and list a type's units. It reads
 * no commands, so it sets up no pipes: the library's messages go to standard
 * output from load on (host_pipes.c shows rtoPipeIOInitialize). */
#include <stdio.h>

#include "zarnutils/zarnutils.h"

int main(void) {
    rtopipe *out = create_ascii_stream_rtopipe(stdout, "stdout", 0);
    int ptype = 0, uom = 0;

    rtouom_locate("PSIG", &ptype, &uom);
    printf("PSIG is unit %d of %s\n", uom, rtouom_ptype_name(ptype));
    printf("30 PSIG = %.1f Pa\n", rtouom_pair2si(30.0, ptype, uom));
    printf("a pressure difference of 30 PSIG = %.1f Pa\n", rtouom_delta_pair2si(30.0, ptype, uom));
    printf("300 K = %.2f F\n", rtouom_si2pair(300.0, pt_lookup("TEMPERATURE"), 2));

    /* a price: money per unit of energy, "$/" and the unit's name */
    rtouom_locate("$/MMBTU", &ptype, &uom);
    printf("%s is unit %d of %s; 4 %s = %g $/J\n", rtouom_uom_name(ptype, uom), uom, rtouom_ptype_name(ptype),
           rtouom_uom_name(ptype, uom), rtouom_pair2si(4.0, ptype, uom));

    /* a unit of one's own, listed with the built-in ones */
    int area = pt_lookup("AREA");
    int acre = rtouom_add_uom("ACRE", area, 4046.8564224, 0.0);
    rtouom_print_header(out);
    for (int i = 1; i <= rtouom_count[area]; ++i) rtouom_print_uom(out, area, i);
    printf("2 ACRE = %.1f SQFT\n", rtouom_si2pair(rtouom_pair2si(2.0, area, acre), area, 2));

    rtodestroy(out);
    return 0;
}
