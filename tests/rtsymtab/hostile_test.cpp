// Interning and text stores called as a careless or hostile caller would.
#include <climits>
#include <cstdint>
#include <string>

#include "hostile.h"
#include "zarnutils/rtsymtab.h"

namespace {

using zarn::test::seq;
using zarn::test::shown;

TEST(SymtabHostile, EveryEntryWithExtremeArguments) {
    const std::string big(100000, 'q');
    rtsymstor *store = nullptr;
    const std::vector<zarn::test::HostileRow> rows = {
        {"rtsymtab_add(NULL), rtsymtab_add_part(NULL, 3)",
         [] { return seq({shown(rtsymtab_add(nullptr)), shown(rtsymtab_add_part(nullptr, 3))}); }, "NULLNULL||"},
        {"rtsymtab_add_part(abc, -1 / LLONG_MIN / LLONG_MAX / 0)", [] {
             return seq({shown(rtsymtab_add_part("abc", -1)), shown(rtsymtab_add_part("abc", LLONG_MIN)),
                         shown(rtsymtab_add_part("abc", LLONG_MAX)), std::to_string(rtsymtab_add_part("abc", 0) == rtsymtab_empty())});
         }, "NULLNULLabc1||"},
        {"rtsymtab_add(10^5 characters) twice, and its part", [&] {
             const char *one = rtsymtab_add(big.c_str());
             return seq({std::to_string(one == rtsymtab_add(big.c_str())), std::to_string(one == rtsymtab_add_part(big.c_str(), LLONG_MAX)),
                         std::to_string(std::string(one) == big)});
         }, "111||"},
        {"rtsymtab_size_estimate(UINT32_MAX), (0)", [] {
             rtsymtab_size_estimate(UINT32_MAX);
             rtsymtab_size_estimate(0);
             return shown(rtsymtab_add("after"));
         }, "after||"},
        {"rtsymtab_shutdown twice, RTSYMTAB_SHUTDOWN_F, then use", [] {
             rtsymtab_shutdown();
             rtsymtab_shutdown();
             RTSYMTAB_SHUTDOWN_F();
             return seq({std::string("[") + rtsymtab_empty() + "]", rtsymtab_add("x")});
         }, "[]x||"},
        {"rtsymstor_add(NULL handle), (&store, NULL), part -1 / LLONG_MIN", [&] {
             return seq({shown(rtsymstor_add(nullptr, "x")), shown(rtsymstor_add(&store, nullptr)),
                         shown(rtsymstor_add_part(&store, "abc", -1)), shown(rtsymstor_add_part(&store, "abc", LLONG_MIN)),
                         shown(rtsymstor_add_part(nullptr, "abc", 1)), store == nullptr ? "none" : "made"});
         }, "NULLNULLNULLNULLNULLnone||"},
        {"rtsymstor_add_part(&store, abc, LLONG_MAX), 10^5 characters, destroy twice, destroy(NULL)", [&] {
             std::string r = seq({shown(rtsymstor_add_part(&store, "abc", LLONG_MAX)),
                                  std::to_string(rtsymstor_add(&store, big.c_str()) != nullptr)});
             rtsymstor_destroy(&store);
             rtsymstor_destroy(&store);
             rtsymstor_destroy(nullptr);
             return r + (store == nullptr ? "gone" : "kept");
         }, "abc1gone||"},
    };
    zarn::test::run_hostile(rows);
}

}  // namespace
