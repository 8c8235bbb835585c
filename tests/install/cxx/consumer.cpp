// A C++ program built against an installed zarnutils found with
// find_package(zarnutils): it writes a small VARFILE through the library's
// writer into a queue pipe and checks the header line, and reads the list
// through a solver data provider. Exits 0 when right.
#include <cstdio>
#include <string>

#include "zarnutils/rtopipe.h"
#include "zarnutils/rtprovider.hpp"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varfile.hpp"

int main() {
    rtvarlst_t *list = rtovarlst_create(1);
    rtovarlst_set_nvar(list, 1);
    rtovarlst_addvar(list, 1, "FEED.T");
    RTVarlstProvider provider(list);
    VarProvider &vars = provider;
    if (vars.Nvar() != 1 || vars.ValueVec() != rtovarlst_vec_value(list)) {
        std::printf("the provider does not hand out the list's VALUE column\n");
        return 1;
    }
    rtopipe *queue = create_queue_rtopipe();
    copyPipe(queue);  // one reference for the writer, one to read back
    {
        RTVarFileOut out(queue, list, 20, 16, 132, 12);
        out.ClearAttributes();
        out.AddAttribute(RTVarDatabase::NAME);
        out.AddAttribute(RTVarDatabase::VALUE);
        out.Go();
    }
    std::string text;
    char buffer[256];
    for (int64_t n; (n = rtoread(queue, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    rtodestroy(queue);
    rtovarlst_destroy_c(&list);
    const std::string header = text.substr(0, text.find('\n'));
    if (header.rfind("NAME", 0) != 0 || header.find("VALUE") == std::string::npos) {
        std::printf("unexpected VARFILE header: '%s'\n", header.c_str());
        return 1;
    }
    std::printf("C++ consumer: ok\n");
    return 0;
}
