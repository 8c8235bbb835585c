// Equation lists (heads and windows up to three deep) and tag lists driven
// step by step, for the jacseq fuzz target (jacseq_one_input.h). What was set
// must read back, a window must see its head's equations, every list must
// pass its dictionary's consistency check, and a tag list's aliases must be
// found where the tree puts them.
#ifndef ZARN_FUZZ_JACSEQ_LISTS_H
#define ZARN_FUZZ_JACSEQ_LISTS_H

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "zarnutils/msgdigest.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rttaglst.h"

namespace zarn::fuzz::jacseq {

constexpr int kMaxEqnLists = 8;

// Equal reals, or both NaN. The dictionary keeps a stored -0.0 when asked
// for 0.0 (the two compare equal, so nothing changed), hence no bit compare.
inline bool same_value(double a, double b) { return a == b || (a != a && b != b); }
constexpr int kMaxTagLists = 5;

class EqnSteps {
  public:
    explicit EqnSteps(Bytes &in) : in_(in) {}
    ~EqnSteps() { teardown(); }

    void step() {
        uint8_t op = in_.byte() % 14;
        int n = pick();
        if (n < 0 || op == 0) return create_head();
        rtattrdict_t *l = nodes_[n].l;
        switch (op) {
            case 1:
                return create_window(n);
            case 2:
                if (!has_children(n)) destroy(n);
                return;
            case 3: {
                int32_t v = in_.arg();
                if (in_.byte() & 1) {
                    rtoeqnlst_set_neqn(l, v);
                } else {
                    int64_t w = v;
                    RTOEQNLST_SET_NEQN_F(&l, &w);
                }
                return;
            }
            case 4: {
                int64_t c = in_.alloc_arg();
                if (in_.byte() & 1)
                    rtoeqnlst_resize(l, static_cast<int32_t>(c));
                else
                    RTOEQNLST_RESIZE_F(&l, &c);
                return;
            }
            case 5: {
                int32_t s = in_.arg(), d = in_.arg(), c = in_.arg();
                rtoeqnlst_move_items(l, s, d, c);
                return;
            }
            case 6:
                rtoeqnlst_relocate(l, in_.arg());
                return;
            case 7:
                return names(n);
            case 8:
            case 9:
                return fields(n);
            case 10:
                return records(n);
            case 11:
                return solver(n);
            case 12:
                return views(n);
            default:
                return words(n);
        }
    }

    void check() {
        bool shrank = false;
        for (int i = 0; i < kMaxEqnLists; ++i) {
            if (!nodes_[i].alive) continue;
            rtattrdict_t *l = nodes_[i].l;
            ZARN_FUZZ_CHECK(l->size >= 0 && l->size <= l->capacity);
            if (l->size < before_[i] && has_children(i)) shrank = true;
        }
        if (shrank) broken_ = true;
        bool okay = true;
        for (int i = 0; i < kMaxEqnLists; ++i)
            if (nodes_[i].alive && !rtattrdict_okay(nodes_[i].l)) okay = false;
        if (!broken_) {
            ZARN_FUZZ_CHECK(okay);
        }
        broken_ = !okay;
        for (int i = 0; i < kMaxEqnLists; ++i) before_[i] = nodes_[i].alive ? nodes_[i].l->size : -1;
    }

    void teardown() {
        for (bool any = true; any;) {
            any = false;
            for (int i = 0; i < kMaxEqnLists; ++i)
                if (nodes_[i].alive && !has_children(i)) {
                    destroy(i);
                    any = true;
                }
        }
    }

  private:
    struct Node {
        rtattrdict_t *l = nullptr;
        bool alive = false;
        int parent = -1;
        int depth = 0;
    };
    Bytes &in_;
    Node nodes_[kMaxEqnLists];
    int32_t before_[kMaxEqnLists] = {-1, -1, -1, -1, -1, -1, -1, -1};
    bool broken_ = false;  // a head cut below a window: the window may reach past it

    int pick() { return pick_alive(in_, nodes_); }
    int free_slot() const { return free_place(nodes_); }
    bool has_children(int n) const { return has_windows(nodes_, n); }
    int head_of(int n) const {
        while (nodes_[n].parent >= 0) n = nodes_[n].parent;
        return n;
    }
    // Equation i of list n exists at every level up to its head.
    bool reachable(int n, int32_t i) {
        if (broken_ || i < 1 || i > nodes_[n].l->size) return false;
        const int32_t a = rtoeqnlst_absolute_index(nodes_[n].l, i);
        return a >= 1 && a <= nodes_[head_of(n)].l->size;
    }

    void create_head() {
        int slot = free_slot();
        if (slot < 0) return;
        rtattrdict_t *l = rtoeqnlst_create(in_.alloc_arg());
        if (l == nullptr) return;
        nodes_[slot] = Node{l, true, -1, 0};
        before_[slot] = l->size;
    }
    void create_window(int p) {
        int slot = free_slot();
        if (slot < 0 || nodes_[p].depth >= kMaxStoreDepth) return;
        int32_t cap = in_.arg(), start = in_.arg();
        rtattrdict_t *l = rtoeqnlst_create_embedded(cap, nodes_[p].l, apiseq::prefix_from(in_), start);
        if (l == nullptr) return;
        ZARN_FUZZ_CHECK(rtoeqnlst_parent_check(nodes_[p].l, l) == 1);
        ZARN_FUZZ_CHECK(rtoeqnlst_parent_check(l, nodes_[p].l) == 0);
        ZARN_FUZZ_CHECK(rtoeqnlst_inq_neqn(l) == 0);
        nodes_[slot] = Node{l, true, p, nodes_[p].depth + 1};
        before_[slot] = l->size;
    }
    void destroy(int n) {
        rtoeqnlst_destroy(&nodes_[n].l);
        ZARN_FUZZ_CHECK(nodes_[n].l == nullptr);
        nodes_[n] = Node{};
        before_[n] = -1;
    }

    void names(int n) {
        rtattrdict_t *l = nodes_[n].l;
        std::string scratch;
        int32_t i = in_.arg(), last = in_.arg();
        switch (in_.byte() % 5) {
            case 0: {
                const char *name = apiseq::name_from(in_, scratch);
                if (in_.byte() & 1) {
                    rtoeqnlst_addeqn(l, i, name);
                } else if (name != nullptr) {
                    int64_t w = i;
                    RTOEQNLST_ADDEQN_F(&l, &w, name, std::strlen(name));
                }
                break;
            }
            case 1: {
                static const int32_t widths[] = {INT_MIN, -1, 0, 1, 4, 9};
                const int32_t width = widths[in_.byte() % 6];
                const int64_t span = static_cast<int64_t>(last) - i + 1;
                const int32_t cap = nodes_[head_of(n)].l->capacity;
                const size_t items = span > 0 && span <= cap ? static_cast<size_t>(span) : 0;
                std::string block(items * static_cast<size_t>(width > 0 ? width : 0) + 1, 'E');
                for (size_t k = 0; k < block.size() - 1; k += 3) block[k] = static_cast<char>('A' + k % 26);
                if (in_.byte() & 1)
                    (void)rtoeqnlst_addeqns(l, i, last, width, block.c_str());
                else
                    rtoeqnlst_names(l, i, last, width, block.data());
                break;
            }
            case 2:
                rtoeqnlst_removeeqns(l, i, last);
                break;
            case 3: {
                char buffer[EQNINFO_NAME_SIZE];
                std::memset(buffer, 'x', sizeof buffer);
                rtoeqnlst_inq_eqn_name(l, i, buffer);
                ZARN_FUZZ_CHECK(std::memchr(buffer, '\0', sizeof buffer) != nullptr);
                const char *name = rtoeqnlst_lookup_eqn_name(l, i);
                if (name != nullptr && *name != '\0' && reachable(n, i)) {
                    const int32_t j = rtoeqnlst__eqnname2index(l, name);
                    ZARN_FUZZ_CHECK(j >= 0 && j <= l->size);
                }
                (void)rtoeqnlst_equation_object(l, apiseq::name_from(in_, scratch));
                break;
            }
            default: {
                int other = pick();
                (void)rtoeqnlst_names_eq(l, i, last, nodes_[other].l, in_.arg(), in_.arg());
            }
        }
    }

    // Each field set through the list reads back through it, and through the head.
    void fields(int n) {
        rtattrdict_t *l = nodes_[n].l;
        const int32_t i = in_.arg();
        const bool inside = reachable(n, i);
        rtattrdict_t *h = nodes_[head_of(n)].l;
        const int32_t a = inside ? rtoeqnlst_absolute_index(l, i) : 0;
        switch (in_.byte() % 7) {
            case 0: {
                const double v = in_.real();
                rtoeqnlst_set_eqn_scale(l, i, v);
                if (inside) {
                    ZARN_FUZZ_CHECK(same_value(rtoeqnlst_inq_eqn_scale(l, i), v));
                    ZARN_FUZZ_CHECK(same_value(rtoeqnlst_inq_eqn_scale(h, a), v));
                }
                break;
            }
            case 1: {
                const double v = in_.real();
                rtoeqnlst_set_eqn_shadow_price(l, i, v);
                if (inside) {
                    ZARN_FUZZ_CHECK(same_value(rtoeqnlst_inq_eqn_shadow_price(l, i), v));
                    ZARN_FUZZ_CHECK(same_value(rtoeqnlst_inq_eqn_shadow_price(h, a), v));
                }
                break;
            }
            case 2: {
                const int64_t v = static_cast<int64_t>(in_.arg()) << (in_.byte() % 40);
                rtoeqnlst_set_eqn_status(l, i, v);
                if (inside) {
                    ZARN_FUZZ_CHECK(rtoeqnlst_inq_eqn_status(l, i) == static_cast<int32_t>(v));
                }
                break;
            }
            case 3: {
                const int32_t v = in_.arg();
                rtoeqnlst_set_eqn_basic(l, i, v);
                if (inside) {
                    ZARN_FUZZ_CHECK(rtoeqnlst_inq_eqn_basic(l, i) == v);
                }
                break;
            }
            case 4: {
                static int block;
                if (in_.byte() & 1) {
                    rtoeqnlst_set_eqn_blockptr(l, i, &block);
                    if (inside) {
                        ZARN_FUZZ_CHECK(rtoeqnlst_inq_eqn_blockptr(l, i) == &block);
                    }
                } else {
                    const int64_t v = static_cast<int64_t>(in_.arg());
                    rtoeqnlst_set_eqn_blockptr_int(l, i, v);
                    if (inside) {
                        ZARN_FUZZ_CHECK(reinterpret_cast<intptr_t>(rtoeqnlst_inq_eqn_blockptr(l, i)) == v);
                    }
                }
                break;
            }
            case 5: {
                std::string scratch;
                const char *name = apiseq::name_from(in_, scratch);
                std::string kept = name != nullptr ? name : "";
                rtoeqnlst_set_eqn_proc_var(l, i, name);
                const char *back = rtoeqnlst_inq_eqn_proc_var(l, i);
                if (inside && name != nullptr && *name != '\0' && kept.size() <= ZARN_NAME_MAX) {
                    ZARN_FUZZ_CHECK(back != nullptr && kept == back);
                }
                break;
            }
            default: {
                const uint8_t k = in_.byte() % 4;
                IWEXWrapper *w = k == 3 ? nullptr : &apiseq::wrappers()[k];
                rtoeqnlst_set_eqn_comWrapper(l, i, w);
                if (inside) {
                    ZARN_FUZZ_CHECK(rtoeqnlst_inq_eqn_comWrapper(l, i) == w);
                }
            }
        }
    }

    void records(int n) {
        rtattrdict_t *l = nodes_[n].l;
        const int32_t i = in_.arg();
        eqninfo rec;
        std::memset(&rec, 0, sizeof rec);
        rec.mask.mask1 = in_.byte() | (in_.byte() << 8);
        if (in_.byte() & 1) {
            std::memset(rec.name, 'n', sizeof rec.name);
            rtoeqnlst_inq_eqn(l, i, &rec);
            if (rec.mask.mask1 & EQNINFO_NAME) {
                ZARN_FUZZ_CHECK(std::memchr(rec.name, '\0', sizeof rec.name) != nullptr);
            }
            return;
        }
        std::string scratch;
        const char *name = apiseq::name_from(in_, scratch);
        if (name != nullptr) std::snprintf(rec.name, sizeof rec.name, "%s", name);
        rec.residual = in_.real();
        rec.scale = in_.real();
        rec.status = in_.arg();
        rec.group = in_.arg();
        rec.proc_var = in_.byte() & 1 ? "PV" : nullptr;
        rec.shadow_price = in_.real();
        rtoeqnlst_initialize_eqn(l, i, &rec);
        if (!reachable(n, i)) return;
        const uint32_t m = rec.mask.mask1;
        ZARN_FUZZ_CHECK(same_value(rtoeqnlst_inq_eqn_value(l, i), m & EQNINFO_RESIDUAL ? rec.residual : 0.0));
        ZARN_FUZZ_CHECK(same_value(rtoeqnlst_inq_eqn_scale(l, i), m & EQNINFO_SCALE ? rec.scale : 1.0));
        ZARN_FUZZ_CHECK(same_value(rtoeqnlst_inq_eqn_shadow_price(l, i),
                                   m & EQNINFO_SHADOW_PRICE ? rec.shadow_price : 0.0));
        ZARN_FUZZ_CHECK(rtoeqnlst_inq_eqn_status(l, i) == (m & EQNINFO_STATUS ? rec.status : 0));
        if (m & EQNINFO_GROUP) {
            ZARN_FUZZ_CHECK(rtoeqnlst_inq_eqn_group(l, i) == rec.group);
        }
        if (!(m & EQNINFO_BLOCKPTR)) {
            ZARN_FUZZ_CHECK(rtoeqnlst_inq_eqn_blockptr(l, i) == nullptr);
        }
    }

    void solver(int n) {
        rtattrdict_t *l = nodes_[n].l;
        const int32_t first = in_.arg(), last = in_.arg();
        switch (in_.byte() % 4) {
            case 0: {
                double out = -3.0;
                rtoeqnlst_norm(l, first, last, &out);
                ZARN_FUZZ_CHECK(out >= 0.0 || out != out);
                break;
            }
            case 1:
            case 2: {
                const int32_t count = in_.small(-1, 12);
                int32_t out[14];
                std::memset(out, 0x7f, sizeof out);
                if (in_.byte() & 1)
                    rtoeqnlst_inq_max_residuals(l, first, last, count, 0, out);
                else
                    rtoeqnlst_inq_max_shadow_prices(l, first, last, count, in_.byte() & 1, out);
                // An empty range leaves out alone; no call writes beyond its n slots.
                const int32_t written = last < first || count < 0 ? 0 : count;
                for (int32_t k = 0; k < written; ++k) ZARN_FUZZ_CHECK(out[k] >= 0 && out[k] <= l->size);
                for (int32_t k = written; k < 14; ++k) ZARN_FUZZ_CHECK(out[k] == 0x7f7f7f7f);
                break;
            }
            default: {
                const int32_t before = rtoeqnlst_inq_neqn_active(l);
                rtoeqnlst_in_exclude_equation(l, first, in_.byte() & 1);
                const int32_t after = rtoeqnlst_inq_neqn_active(l);
                ZARN_FUZZ_CHECK(after >= 0 && after <= l->size);
                ZARN_FUZZ_CHECK(after - before >= -1 && after - before <= 1);
            }
        }
    }

    // The columns a list hands out cover its equations and are the head's.
    void views(int n) {
        rtattrdict_t *l = nodes_[n].l;
        if (broken_) return;
        rtattrdict_t *h = nodes_[head_of(n)].l;
        volatile double sink = 0;
        const int32_t size = l->size;
        double *residual = rtoeqnlst_vec_residual(l);
        double *scale = rtoeqnlst_vec_scale(l);
        int64_t *status = rtoeqnlst_vec_status(l);
        void **block = rtoeqnlst_vec_blockptr(l);
        double *price = rtoeqnlst_vec_shadow_price(l);
        int64_t *basic = rtoeqnlst_vec_basic(l);
        if (price != nullptr)
            for (int32_t k = 0; k < size; ++k) sink = sink + price[k];
        if (basic != nullptr)
            for (int32_t k = 0; k < size; ++k) sink = sink + static_cast<double>(basic[k]);
        if (residual != nullptr)
            for (int32_t k = 0; k < size; ++k) sink = sink + residual[k];
        if (status != nullptr)
            for (int32_t k = 0; k < size; ++k) sink = sink + static_cast<double>(status[k]);
        if (block != nullptr)
            for (int32_t k = 0; k < size; ++k) sink = sink + (block[k] != nullptr);
        const int32_t i = in_.small(1, 8);
        if (scale != nullptr && reachable(n, i)) {
            ZARN_FUZZ_CHECK(
                same_value(scale[i - 1], rtoeqnlst_inq_eqn_scale(h, rtoeqnlst_absolute_index(l, i))));
        }
        int64_t out = -1;
        RTOEQNLST_ZARN_LBESCL(&l, &out);
        if (scale != nullptr) {
            ZARN_FUZZ_CHECK(ZARN_b0 + out == scale);
        }
        (void)sink;
    }

    void words(int n) {
        rtattrdict_t *l = nodes_[n].l;
        if (broken_) return;
        zarn_md5_ctx_t ctx;
        MD5Init(&ctx);
        ZARN_FUZZ_CHECK(rtoeqnlst_compute_md(l, &ctx) == l->size);
        MD5Final(&ctx);
        if (in_.byte() & 1) return fortran(n);
        if (in_.byte() % 8 == 0) rtoeqnlst_printsymbolstats(l);
        static const char *texts[] = {"A",  "A.INCLUDED",     "A.EQNSCALE", "A.TYPE", "B.C.LINEARITY",
                                      "x1", "Q.SHADOW_PRICE", ".",          "A.",     "SUB.A.eqnscale"};
        value_t value;
        value_init(&value);
        const char *text = texts[in_.byte() % 10];
        if (in_.byte() & 1) {
            value_assign_logical(&value, in_.byte() & 1);
            rtoeqnlst_assign_value(l, text, &value);
        } else {
            rtoeqnlst_lookup_value(l, text, &value);
        }
        value_destroy(&value);
    }

    // The Fortran twins: fields padded with blanks, integers 64 bits wide.
    void fortran(int n) {
        rtattrdict_t *l = nodes_[n].l;
        // INT_MIN would narrow to -INT_MAX and name another index than the C call's.
        const int64_t i = std::max(in_.arg(), -INT_MAX), last = std::max(in_.arg(), -INT_MAX);
        switch (in_.byte() % 6) {
            case 0: {
                const int32_t narrow_i = static_cast<int32_t>(i);
                ZARN_FUZZ_CHECK(RTOEQNLST_ABSOLUTE_INDEX_F(&l, &i) == rtoeqnlst_absolute_index(l, narrow_i));
                ZARN_FUZZ_CHECK(RTOEQNLST_INQ_NEQN_F(&l) == l->size);
                ZARN_FUZZ_CHECK(RTOEQNLST_INQ_CAPACITY_F(&l) == l->capacity);
                break;
            }
            case 1: {
                char field[12];
                std::memset(field, '#', sizeof field);
                RTOEQNLST_INQ_EQN_NAME_F(&l, &i, field, sizeof field);
                ZARN_FUZZ_CHECK(std::memchr(field, '#', sizeof field) == nullptr);
                (void)RTOEQNLST_EQNNAME2INDEX(&l, field, sizeof field);
                break;
            }
            case 2: {
                const int64_t words[3] = {0x41424344, 0x45464748, 0x494a};
                const double reals[2] = {1.0, -0.0};
                const int64_t count = in_.small(-1, 2);  // words, not characters
                if (in_.byte() & 1)
                    RTOEQNLST_ADDEQN_I4_F(&l, &i, words, &count);
                else
                    RTOEQNLST_ADDEQN_R8_F(&l, &i, reals, &count);
                break;
            }
            case 3: {
                static const int64_t widths[] = {-1, 0, 1, 4, 9};
                const int64_t width = widths[in_.byte() % 5];
                const int64_t span = last - i + 1;
                const int32_t cap = nodes_[head_of(n)].l->capacity;
                const size_t items = span > 0 && span <= cap ? static_cast<size_t>(span) : 0;
                std::string block(items * static_cast<size_t>(width > 0 ? width : 0) + 1, 'F');
                if (in_.byte() & 1)
                    (void)RTOEQNLST_ADDEQNS_F(&l, &i, &last, &width, block.c_str(), 1);
                else
                    RTOEQNLST_NAMES_F(&l, &i, &last, &width, block.data(), 1);
                break;
            }
            case 4: {
                const int64_t v = in_.arg();
                RTOEQNLST_SET_EQN_BLOCKPTR_INT_F(&l, &i, &v);
                if (reachable(n, static_cast<int32_t>(i))) {
                    ZARN_FUZZ_CHECK(reinterpret_cast<intptr_t>(
                                        rtoeqnlst_inq_eqn_blockptr(l, static_cast<int32_t>(i))) == v);
                }
                break;
            }
            default: {
                int64_t residual = -1, status = -1, group = -1;
                RTOEQNLST_ZARN_LBE(&l, &residual);
                RTOEQNLST_ZARN_LBESTAT(&l, &status);
                RTOEQNLST_ZARN_LBEGROUP(&l, &group);
                if (double *v = rtoeqnlst_vec_residual(l)) {
                    ZARN_FUZZ_CHECK(ZARN_b0 + residual == v);
                }
                if (int64_t *v = rtoeqnlst_vec_status(l)) {
                    ZARN_FUZZ_CHECK(ZARN_ib0 + status == v);
                }
                if (int64_t *v = rtoeqnlst_vec_group(l)) {
                    ZARN_FUZZ_CHECK(ZARN_ib0 + group == v);
                }
            }
        }
    }
};

class TagSteps {
  public:
    explicit TagSteps(Bytes &in) : in_(in) {}
    ~TagSteps() { teardown(); }

    void step() {
        uint8_t op = in_.byte() % 11;
        int n = pick();
        if (n < 0 || op == 0) return create();
        rtotaglst_t *l = nodes_[n].l;
        std::string scratch;
        switch (op) {
            case 1:
                return destroy(n);
            case 2: {  // before the list joins a parent: its copies carry the prefix of that moment
                static const char *prefixes[] = {"", "SUB.", "P1.", nullptr,
                                                 "averyveryverylongprefixthatgoeson."};
                if (nodes_[n].parent >= 0) return;
                const char *prefix = prefixes[in_.byte() % 5];
                rtotaglst_set_prefix(l, prefix);
                nodes_[n].prefix = prefix != nullptr ? prefix : "";
                nodes_[n].own_prefix = false;
                return;
            }
            case 3:
                return link(n);
            case 4:
            case 5: {
                const char *alias = alias_from(scratch);
                const char *name = in_.byte() % 8 == 0 ? apiseq::long_text('L', 1100) : "X.Y";
                if (in_.byte() & 1) {
                    (void)rtotaglst_add_tag(l, alias, name);
                } else if (alias != nullptr) {
                    (void)RTOTAGLST_ADD_TAG_F(&l, alias, name, std::strlen(alias), std::strlen(name));
                }
                if (alias != nullptr && rtotaglst_lookup(l, alias) > 0) {
                    ZARN_FUZZ_CHECK(rtotaglst_search_tags(l, alias) != nullptr);
                }
                return;
            }
            case 6: {
                const int32_t kept =
                    in_.byte() & 1 ? rtotaglst_none(l) : static_cast<int32_t>(RTOTAGLST_NONE_F(&l));
                ZARN_FUZZ_CHECK(kept == rtotaglst_inq_ntag(l));
                for (int32_t k = 1; k <= kept; ++k) ZARN_FUZZ_CHECK(rtotaglst_inq_tag(l, k)->inherited == 1);
                return;
            }
            case 7: {
                const int32_t k = in_.arg();
                const int32_t ntag = rtotaglst_inq_ntag(l);
                const char *t = rtotaglst_inq_tagid(l, k);
                const char *v = rtotaglst_inq_varid(l, k);
                ZARN_FUZZ_CHECK((t != nullptr) == (k >= 1 && k <= ntag));
                ZARN_FUZZ_CHECK((v != nullptr) == (k >= 1 && k <= ntag));
                if (v != nullptr) {
                    ZARN_FUZZ_CHECK(v == rtotaglst_inq_tag(l, k)->varid);
                }
                ZARN_FUZZ_CHECK(RTOTAGLST_INQ_NTAG_F(&l) == ntag);
                return;
            }
            case 8: {
                const char *alias = alias_from(scratch);
                const char *name = rtotaglst_search_tags(l, alias);
                std::vector<char> out((name != nullptr ? std::strlen(name) : 0) + 1, 'z');
                int32_t k = -9;
                rtotaglst_inq_by_tag(l, alias, out.data(), &k);
                ZARN_FUZZ_CHECK((k > 0) == (name != nullptr));
                if (name != nullptr) {
                    ZARN_FUZZ_CHECK(std::strcmp(out.data(), name) == 0);
                }
                return;
            }
            case 9:
                return fortran_lookup(l, scratch);
            default: {
                rtopipe *pipe = nowherePipe;
                if (in_.byte() & 1)
                    rtotaglst_print(pipe, l);
                else
                    RTOTAGLST_PRINT_F(&pipe, l == nullptr ? nullptr : &l);
            }
        }
    }

    // Every entry is found under its alias, and a child's own aliases are
    // in its parent with the child's prefix in front.
    void check() {
        for (int i = 0; i < kMaxTagLists; ++i) {
            if (!nodes_[i].alive) continue;
            rtotaglst_t *l = nodes_[i].l;
            const int32_t ntag = rtotaglst_inq_ntag(l);
            bool any_child = false;
            for (int c = 0; c < kMaxTagLists; ++c)
                any_child = any_child || (nodes_[c].alive && nodes_[c].parent == i);
            for (int32_t k = 1; k <= ntag; ++k) {
                const rtotag_t *t = rtotaglst_inq_tag(l, k);
                ZARN_FUZZ_CHECK(t != nullptr && t->tagid != nullptr && t->varid != nullptr);
                const int32_t j = rtotaglst_lookup(l, t->tagid);
                ZARN_FUZZ_CHECK(j >= 1 && j <= ntag);
                if (!any_child) {
                    ZARN_FUZZ_CHECK(t->inherited == 0);
                }
                const int p = nodes_[i].parent;
                if (p < 0 || t->inherited || !nodes_[i].own_prefix) continue;
                const std::string copy = std::string(nodes_[i].prefix) + t->tagid;
                if (copy.size() <= RTOTAGLST_MAX_KEY) {
                    ZARN_FUZZ_CHECK(rtotaglst_lookup(nodes_[p].l, copy.c_str()) > 0);
                }
            }
        }
    }

    // The Fortran lookups on a blank-padded alias agree with the C ones; the
    // name comes back padded with blanks.
    void fortran_lookup(rtotaglst_t *l, std::string &scratch) {
        const char *alias = alias_from(scratch);
        if (alias == nullptr) return;
        const std::string field = std::string(alias) + "   ";
        const int32_t k = rtotaglst_lookup(l, alias);
        ZARN_FUZZ_CHECK(RTOTAGLST_LOOKUP_F(&l, field.data(), field.size()) == k);
        const char *name = rtotaglst_search_tags(l, alias);
        char out[16];
        int64_t got = -9;
        RTOTAGLST_INQ_BY_TAG_F(&l, field.data(), out, &got, field.size(), sizeof out);
        ZARN_FUZZ_CHECK(got == k);
        const std::string want = name != nullptr ? name : "";
        if (want.size() <= sizeof out) {
            ZARN_FUZZ_CHECK(std::string(out, sizeof out) ==
                            want + std::string(sizeof out - want.size(), ' '));
        }
    }

    void teardown() {
        for (int i = 0; i < kMaxTagLists; ++i)
            if (nodes_[i].alive) destroy(i);
    }

  private:
    struct Node {
        rtotaglst_t *l = nullptr;
        bool alive = false;
        int parent = -1;
        const char *prefix = "";
        bool own_prefix = false;
    };
    Bytes &in_;
    Node nodes_[kMaxTagLists];

    int pick() {
        int choice = in_.byte(), c = 0, cand[kMaxTagLists];
        for (int i = 0; i < kMaxTagLists; ++i)
            if (nodes_[i].alive) cand[c++] = i;
        return c == 0 ? -1 : cand[choice % c];
    }

    const char *alias_from(std::string &scratch) {
        static const std::string longest(RTOTAGLST_MAX_ALIAS, 'T'), too_long(RTOTAGLST_MAX_ALIAS + 1, 'T');
        switch (in_.byte() % 8) {
            case 0:
                return "T1";
            case 1:
                return "T2";
            case 2:
                return longest.c_str();
            case 3:
                return too_long.c_str();
            case 4:
                return "";
            case 5:
                return "1bad";
            case 6:
                return "A.B";
            default:
                scratch = "t" + std::to_string(in_.byte() % 16);
                return scratch.c_str();
        }
    }

    void create() {
        int slot = -1;
        for (int i = 0; i < kMaxTagLists && slot < 0; ++i)
            if (!nodes_[i].alive) slot = i;
        if (slot < 0) return;
        int32_t cap = in_.small(-2, 40);
        rtotaglst_t *l = nullptr;
        if (in_.byte() & 1) {
            l = rtotaglst_create(cap);
        } else {
            const int64_t wide = cap;
            l = RTOTAGLST_CREATE_F(&wide);
        }
        if (l == nullptr) return;
        nodes_[slot] = Node{l, true, -1, "", false};
    }

    // A list without a parent joins one outside its own subtree.
    void link(int child) {
        if (nodes_[child].parent >= 0) return;
        const int parent = pick();
        for (int m = parent; m >= 0; m = nodes_[m].parent)
            if (m == child) return;
        // A prefix of its own keeps the child's copies apart from every other
        // list's aliases; a shared one lets a sibling's withdrawal take them.
        static const char *own[kMaxTagLists] = {"C0.", "C1.", "C2.", "C3.", "C4."};
        if (in_.byte() % 4 != 0) {
            nodes_[child].prefix = own[child];
            nodes_[child].own_prefix = true;
            rtotaglst_set_prefix(nodes_[child].l, own[child]);
        }
        rtotaglst_link_parent(nodes_[parent].l, nodes_[child].l);
        nodes_[child].parent = parent;
    }

    void destroy(int n) {
        if (in_.byte() & 1) {
            rtotaglst_destroy(nodes_[n].l);
        } else {
            RTOTAGLST_DESTROY_F(&nodes_[n].l);
            ZARN_FUZZ_CHECK(nodes_[n].l == nullptr);
        }
        for (Node &m : nodes_)
            if (m.alive && m.parent == n) m.parent = -1;
        nodes_[n] = Node{};
    }
};

}  // namespace zarn::fuzz::jacseq

#endif
