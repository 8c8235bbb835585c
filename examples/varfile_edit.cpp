// A VARFILE round trip from a C++ host: write three variables, take back a
// file a person edited (another value, another unit, a typo), and show the
// values the list now holds in SI.
#include <cstdio>
#include <initializer_list>

#include "zarnutils/zarnutils.h"
#include "zarnutils/varfile.hpp"

int main() {
    rtvarlst_t *list = rtovarlst_create(3);
    rtovarlst_set_nvar(list, 3);
    const char *names[] = {"FEED.T", "FEED.P", "X"};
    const int ptypes[] = {pt_lookup("TEMPERATURE"), pt_lookup("PRESSURE"), 0};
    for (int i = 1; i <= 3; ++i) {
        rtvarinfo_t r{};
        r.mask = {RTVARINFO_NAME | RTVARINFO_STATUS | RTVARINFO_VALUE, 0};
        varSetPhysicalType(&r.status, ptypes[i - 1]);
        r.value = 300.0 * i;
        std::snprintf(r.name, sizeof r.name, "%s", names[i - 1]);
        rtovarlst_initialize_var(list, i, &r, 1);
    }
    rtopipe *out = create_ascii_stream_rtopipe(stdout, "stdout", 0);
    {
        RTVarFileOut writer(copyPipe(out), list, 20, 16, 132, 12);
        writer.ClearAttributes();
        for (auto a : {RTVarDatabase::NAME, RTVarDatabase::UNITS, RTVarDatabase::VALUE, RTVarDatabase::SPEC})
            writer.AddAttribute(a);
        writer.Go();
    }
    // The edited file: FEED.T in degrees C, FEED.P fixed, an unknown unit for X.
    const char edited[] =
        "// edited by hand\n"
        "NAME   , UNITS, VALUE, SPEC\n"
        "feed.t , C    , 25.5\n"
        "FEED.P ,      , 2.0e5, FIXED\n"
        "X      , FURLONG, 7\n";
    rtopipe *in = create_queue_rtopipe();
    rtowritestr(in, edited);
    std::printf("\nreading the edited file back:\n");
    rtohis_set_hisDev(out);
    {
        RTVarFileIn reader(in, list);
        reader.Go();
    }
    for (int i = 1; i <= 3; ++i)
        std::printf("%-7s %12.4f (SI), spec %s\n", names[i - 1], rtovarlst_inq_var_value(list, i, 1),
                    varSpecId(varInqSpec(rtovarlst_inq_var_status(list, i))));
    rtovarlst_destroy_c(&list);
    rtodestroy(out);
    return 0;
}
