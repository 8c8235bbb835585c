// Tag lists and their Fortran twins called as a careless or hostile caller would.
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "hostile.h"
#include "zarnutils/rttaglst.h"

namespace {

using zarn::test::seq;
using zarn::test::shown;
using std::to_string;

// Texts longer than the pipes' format buffer are cut to it (less the terminator).
constexpr std::size_t kPrintfCut = 20479;

std::string bad(const std::string &alias) {
    return "Bad alias name '" + alias + "'.  Alias names must be 40 characters or less, must start\n"
           "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n";
}

TEST(TagListHostile, EveryEntryWithExtremeArguments) {
    const std::string big(100000, 'A');
    rtotaglst_t *l = rtotaglst_create(1);
    rtopipe *q = create_queue_rtopipe();
    char name[16] = "untouched";
    int32_t k = -9;
    const std::vector<zarn::test::HostileRow> rows = {
        {"rtotaglst_create(0 / -1 / INT_MIN / INT_MAX)", [] {
             std::string r;
             for (int32_t c : {0, -1, INT_MIN, INT_MAX}) {
                 rtotaglst_t *t = rtotaglst_create(c);
                 r += seq({to_string(t != nullptr), to_string(rtotaglst_add_tag(t, "A", "X")), to_string(rtotaglst_add_tag(t, "B", "Y")),
                           to_string(rtotaglst_lookup(t, "B"))});
                 rtotaglst_destroy(t);
             }
             return r;
         }, "1002100210021002||"},
        {"NULL list everywhere", [&] {
             rtotaglst_destroy(nullptr);
             rtotaglst_set_prefix(nullptr, "P.");
             rtotaglst_print(q, nullptr);
             rtotaglst_inq_by_tag(nullptr, "A", name, &k);
             return seq({to_string(rtotaglst_none(nullptr)), to_string(rtotaglst_inq_ntag(nullptr)),
                         to_string(rtotaglst_lookup(nullptr, "A")), shown(rtotaglst_search_tags(nullptr, "A")), to_string(k),
                         "[", name, "]", to_string(rtotaglst_add_tag(nullptr, "A", "X")), zarn::test::drain(q)});
         }, "000NULL0[]0|" + bad("A") + "|"},
        {"rtotaglst_link_parent(NULL, l), (l, NULL), (l, l)", [&] {
             rtotaglst_link_parent(nullptr, l);
             rtotaglst_link_parent(l, nullptr);
             rtotaglst_link_parent(l, l);
             return "";
         }, "|!!rtotaglst_link_parent: a list cannot be linked below itself\n"
            "|A(rtotaglst_link_parent: NULL parent or child)A(rtotaglst_link_parent: NULL parent or child)"},
        {"rtotaglst_add_tag(l, NULL / \"\" / 41 A / 10^5 A, X)", [&] {
             return seq({to_string(rtotaglst_add_tag(l, nullptr, "X")), to_string(rtotaglst_add_tag(l, "", "X")),
                         to_string(rtotaglst_add_tag(l, std::string(41, 'A').c_str(), "X")),
                         to_string(rtotaglst_add_tag(l, big.c_str(), "X")), to_string(rtotaglst_inq_ntag(l))});
         }, "00000|" + bad("") + bad("") + bad(std::string(41, 'A')) + bad(big).substr(0, kPrintfCut) +
                "|A(rtoprintf: Overran it's buffer)"},
        {"rtotaglst_add_tag(l, A, NULL) twice, prefix NULL", [&] {
             rtotaglst_set_prefix(l, nullptr);
             return seq({to_string(rtotaglst_add_tag(l, "A", nullptr)), to_string(rtotaglst_add_tag(l, "A", "Y")), "[",
                         shown(rtotaglst_search_tags(l, "A")), "]"});
         }, "01[]||"},
        {"tag numbers 0, -1, INT_MIN, INT_MAX", [&] {
             std::string r;
             for (int32_t i : {0, -1, INT_MIN, INT_MAX}) {
                 r += seq({shown(rtotaglst_inq_tagid(l, i)), shown(rtotaglst_inq_varid(l, i)),
                           shown(reinterpret_cast<const char *>(rtotaglst_inq_tag(l, i)))});
             }
             return r.size() == 12 * 4 ? "all NULL" : r;
         }, "all NULL||" + [] {
             std::string a;
             for (int i = 0; i < 4; ++i)
                 a += "A(Illegal index passed to rtotaglst_inq_tagid)A(Illegal index passed to rtotaglst_inq_varid)"
                      "A(Illegal index passed to rtotaglst_inq_tag)";
             return a;
         }()},
        {"NULL aliases and outputs", [&] {
             rtotaglst_inq_by_tag(l, nullptr, nullptr, nullptr);
             rtotaglst_inq_by_tag(l, "A", nullptr, &k);
             return seq({to_string(rtotaglst_lookup(l, nullptr)), shown(rtotaglst_search_tags(l, nullptr)), to_string(k)});
         }, "0NULL1||"},
        {"rtotaglst_none twice, print to NULL pipe of an empty list", [&] {
             std::string r = seq({to_string(rtotaglst_none(l)), to_string(rtotaglst_none(l))});
             rtotaglst_print(nullptr, l);
             return r;
         }, "00||"},
        {"destroy the parent first, then the child", [] {
             rtotaglst_t *p = rtotaglst_create(1), *c = rtotaglst_create(1);
             rtotaglst_link_parent(p, c);
             rtotaglst_add_tag(c, "T", "TEMP");
             rtotaglst_destroy(p);
             std::string r = seq({to_string(rtotaglst_inq_ntag(c)), to_string(rtotaglst_add_tag(c, "U", "V"))});
             rtotaglst_destroy(c);
             return r;
         }, "10||"},
        {"child already linked to a parent", [] {
             rtotaglst_t *p1 = rtotaglst_create(1), *p2 = rtotaglst_create(1), *c = rtotaglst_create(1);
             rtotaglst_link_parent(p1, c);
             rtotaglst_link_parent(p1, c);
             rtotaglst_link_parent(p2, c);
             rtotaglst_link_parent(c, p1);
             rtotaglst_destroy(c), rtotaglst_destroy(p1), rtotaglst_destroy(p2);
             return "";
         }, "|!!rtotaglst_link_parent: child already linked to a parent\n"
            "!!rtotaglst_link_parent: a list cannot be linked below itself\n|"},
        {"Fortran twins with NULL arguments and absent fields", [&] {
             char out[8];
             int64_t fk = -9;
             RTOTAGLST_DESTROY_F(nullptr);
             RTOTAGLST_PRINT_F(nullptr, nullptr);
             RTOTAGLST_INQ_BY_TAG_F(nullptr, "A", out, &fk, 1, 8);
             return seq({to_string(RTOTAGLST_NONE_F(nullptr)), to_string(RTOTAGLST_INQ_NTAG_F(nullptr)),
                         to_string(RTOTAGLST_LOOKUP_F(nullptr, "A", 1)), to_string(fk), "[", std::string(out, 8), "]",
                         to_string(RTOTAGLST_ADD_TAG_F(nullptr, "A", "X", 1, 1)),
                         to_string(RTOTAGLST_ADD_TAG_F(&l, "\0\0\0\0", "X", 4, 1))});
         }, "0000[        ]00|" + bad("A") + bad("") + "|"},
        {"RTOTAGLST_CREATE_F(NULL / LLONG_MIN / LLONG_MAX), unterminated fields", [] {
             const int64_t lo = LLONG_MIN, hi = LLONG_MAX;
             std::string r;
             for (const int64_t *c : {static_cast<const int64_t *>(nullptr), &lo, &hi}) {
                 rtotaglst_t *t = RTOTAGLST_CREATE_F(c);
                 char out[4];
                 int64_t fk = 0;
                 RTOTAGLST_ADD_TAG_F(&t, "AB  ", "TARGET", 4, 6);
                 RTOTAGLST_INQ_BY_TAG_F(&t, "AB", out, &fk, 2, 4);
                 r += seq({to_string(RTOTAGLST_LOOKUP_F(&t, "AB", 2)), to_string(fk), std::string(out, 4), ","});
                 RTOTAGLST_DESTROY_F(&t);
                 RTOTAGLST_DESTROY_F(&t);  // twice: the handle was cleared
             }
             return r;
         }, "11TARG,11TARG,11TARG,||"},
    };
    zarn::test::run_hostile(rows);
    rtotaglst_destroy(l);
    rtodestroy(q);
}

}  // namespace
