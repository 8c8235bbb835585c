// Steps of the API-sequence fuzz target over values, parameters, hash tables
// and the numerical routines, read from the same bytes as the dictionary steps.
// Values: made of every kind (nested lists up to past the nesting limit, lists
// with bad items, texts that are almost numbers), coerced, operated on, copied,
// printed and destroyed, also through a context that resolves names to values
// holding those names. Parameters: local and global tables set, read, undefined
// and walked by visits that change the table they walk. Hash tables: walked by
// functions that try to change them. Numerical routines: sorts, permutations,
// counts and text routines with arrays passed twice or overlapping, outputs left
// out and extreme counts. After every step each value must be valid and each
// table's count must match what a walk finds; teardown frees everything.
// The includer defines ZARN_FUZZ_CHECK(cond) and provides Bytes.
#ifndef ZARN_FUZZ_APISEQ_VALUES_H
#define ZARN_FUZZ_APISEQ_VALUES_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zarnutils/hashtable.h"
#include "zarnutils/numutil.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvalue.hpp"
#include "zarnutils/zarnmalloc.h"

namespace zarn::fuzz::apiseq {

constexpr int kValuePool = 8;
// Values larger than this many nodes are not copied or joined further: a
// sequence of joins would otherwise grow them without bound.
constexpr int kMaxValueNodes = 4000;
constexpr int kParamTables = 2;

inline const char *const *param_names() {
    static const std::string long_name(1100, 'P');
    static const char *names[] = {"A",   "B",     "P1",  "X-Y", "p1", "1P", "", long_name.c_str(),
                                  "Q_2", "P_AMB", "DATE"};
    return names;
}
constexpr int kParamNames = 11;
// The linked parameters of the process stay: they cannot be made again.
inline bool linked_name(const char *n) { return std::strcmp(n, "P_AMB") == 0 || std::strcmp(n, "DATE") == 0; }

// Nodes of a value, counted up to limit.
inline int nodes_of(const value_t *v, int limit) {
    int n = 1;
    const gl_list_t *l = v->value_type == list_value   ? v->u.list
                         : v->value_type == enum_value ? v->u.enumeration.choices
                                                       : nullptr;
    for (const gl_node_t *node = l ? l->head : nullptr; node && n < limit; node = node->next)
        n += node->data ? nodes_of(static_cast<const value_t *>(node->data), limit - n) : 1;
    return n;
}

// A context whose names A to D stand for copies of the first pool values, and
// whose parameters are the process's global ones.
struct PoolContext final : IValueContext, QDLVariableSource {
    value_t **pool = nullptr;
    void Reserved0() override {}
    void Reserved5() override {}
    void Reserved8() override {}
    void Resolve(const char *name, value_t *out) override {
        if (name[0] >= 'A' && name[0] <= 'D' && name[1] == '\0') value_copy(pool[name[0] - 'A'], out);
    }
    void TypeOf(const char *name, value_t *out) override {
        if (name[0] == 'B') value_assign_copy_of_id(out, "BLOCK");
    }
    bool BlockVariables(const char *, QDLBlockRecord *b) override {
        b->first = 0;
        b->last = 2;
        return true;
    }
    QDLVariableSource *Variables() override { return this; }
    bool IsDefined(const char *name) override { return name[0] == 'A'; }
    void ParameterValue(const char *name, value_t *out) override { param_read(name, out, nullptr, nullptr); }
    bool fill(QDLStringVector *o) {
        o->names.push_back("V.1");
        o->names.push_back("");
        return true;
    }
    bool SpecGroupsByVar(const char *, QDLStringVector *o) override { return fill(o); }
    bool MeasurementsByVar(const char *, QDLStringVector *o) override { return fill(o); }
    bool ConnectionsByVar(const char *, QDLStringVector *) override { return false; }
    bool AliasesByVar(const char *, QDLStringVector *o) override { return fill(o); }
    bool ActiveConnections(QDLStringVector *o) override { return fill(o); }
    bool InactiveConnections(QDLStringVector *) override { return false; }
    bool ActiveSpecGroups(QDLStringVector *o) override { return fill(o); }
    bool InactiveSpecGroups(QDLStringVector *) override { return false; }
    bool ActiveMeasurements(QDLStringVector *o) override { return fill(o); }
    bool InactiveMeasurements(QDLStringVector *) override { return false; }
    void *AccessorHandle() override { return this; }
    void Attributes(const char *, QDLStringVector *o) override { fill(o); }
    bool Load(int32_t index, QDLVariableData *record, bool) override {
        std::snprintf(record->name, sizeof record->name, "V.%d", index);
        return index != 1;
    }
    QDLResultSet *Query(const char *) override { return nullptr; }
};

class ValueSteps {
  public:
    explicit ValueSteps(Bytes &in) : in_(in) {
        for (value_t *&v : pool_) v = fresh();
        ctx_.pool = pool_;
    }
    ValueSteps(const ValueSteps &) = delete;
    ValueSteps &operator=(const ValueSteps &) = delete;

    void step() {
        switch (in_.byte() % 12) {
            case 0:
            case 1:
                make(slot());
                break;
            case 2:
                operate();
                break;
            case 3:
            case 4:
                function(slot());
                break;
            case 5:
                handle();
                break;
            case 6:
                enumeration(slot());
                break;
            case 7:
                parameters();
                break;
            case 8:
                walk();
                break;
            case 9:
                hash();
                break;
            default:
                numeric();
                break;
        }
        check();
    }

    ~ValueSteps() {
        for (value_t *v : pool_) value_destroy_list_item(v);
        for (HashTable *t : locals_)
            if (t) param_destroy(t);  // a null table would be the global one
        for (int i = 0; i < kParamNames; ++i)
            if (!linked_name(param_names()[i]) && param_defined(param_names()[i], nullptr, nullptr))
                param_undef(param_names()[i], nullptr);
        rtouom_modify_p_amb(101325.0);
        hashDestroy(hash_, nullptr);
        for (int64_t &b : blocks_) RTO_IFREE(&b);
    }

  private:
    Bytes &in_;
    value_t *pool_[kValuePool];
    PoolContext ctx_;
    HashTable *locals_[kParamTables] = {};
    HashTable *hash_ = nullptr;
    std::vector<int64_t> blocks_;

    static value_t *fresh() { return static_cast<value_t *>(std::calloc(1, sizeof(value_t))); }
    int slot() { return in_.byte() % kValuePool; }
    IValueContext *context() { return in_.byte() & 1 ? &ctx_ : nullptr; }
    bool small(const value_t *v) { return nodes_of(v, kMaxValueNodes + 1) <= kMaxValueNodes; }

    void check() {
        for (value_t *v : pool_) ZARN_FUZZ_CHECK(value_okay(v));
        for (HashTable *t : locals_) {
            int walked = 0;
            param_iterate(&walked, t, [](void *arg, const char *) {
                ++*static_cast<int *>(arg);
                return 0;
            });
            ZARN_FUZZ_CHECK(t == nullptr || walked == param_num_defined(t));
        }
        if (hash_) {
            uint32_t walked = 0;
            hashDataIterate(hash_, &walked, [](void *arg, void *) {
                ++*static_cast<uint32_t *>(arg);
                return 0;
            });
            ZARN_FUZZ_CHECK(walked == hashNum(hash_));
        }
    }

    // Texts near the number forms, and some that are far from them.
    std::string text() {
        static const char *parts[] = {"12",   "-1.5d2", "1.", ".5",         "3 {FT}", "3{psig}", "1e", "x",
                                      "{",    "}",      " ",  "&P1",        "&<A>",   "&<",      "B.", "*",
                                      "TRUE", "E+",     "0",  "9999999999", "\xff",   "."};
        std::string s;
        const int n = in_.small(0, 5);
        for (int i = 0; i < n; ++i) {
            const uint8_t k = in_.byte();
            if (k % 23 == 22)
                s.append(static_cast<size_t>(in_.small(1, 64)) * 100, static_cast<char>("7 .x{"[k % 5]));
            else
                s += parts[k % 22];
        }
        return s;
    }

    // A heap item for a list: a copy of a pool value, a small new one, or (rarely) no value.
    value_t *item() {
        switch (in_.byte() % 8) {
            case 0:
                return nullptr;
            case 1: {
                value_t *bad = fresh();
                bad->value_type = 40;
                return bad;
            }
            case 2:
            case 3: {
                const value_t *src = pool_[slot()];
                if (!small(src)) return value_create_from_int(1);
                value_t *copy = fresh();
                value_copy(src, copy);
                return copy;
            }
            case 4:
                return value_create_from_string(const_cast<char *>(text().c_str()), 1);
            default:
                return value_create_from_int(in_.arg());
        }
    }

    // A LIST (clean or with bad items), or an ENUMERATION of texts.
    gl_list_t *items(bool clean) {
        gl_list_t *l = gl_create();
        const int n = in_.small(0, 5);
        for (int i = 0; i < n; ++i) {
            value_t *it = clean ? value_create_from_string(const_cast<char *>(text().c_str()), 1) : item();
            if (clean || it != nullptr || in_.byte() % 4 == 0) gl_addtoend(l, it);
        }
        return l;
    }

    void make(int s) {
        value_t *v = pool_[s];
        switch (in_.byte() % 13) {
            case 0:
                value_assign_int(v, in_.arg());
                break;
            case 1:
                value_assign_double(v, in_.real(), in_.small(-2, 150), in_.small(-1, 40));
                break;
            case 2:
                value_assign_copy_of_string(v, text().c_str());
                break;
            case 3:
                value_assign_copy_of_id(
                    v, (std::string(1, "ABCD"[in_.byte() % 4]) + (in_.byte() & 1 ? "" : ".X")).c_str());
                break;
            case 4:
                value_assign_glob(v, strdup(text().c_str()));
                break;
            case 5:
                value_assign_regexp(v, strdup(text().c_str()));
                break;
            case 6:
                value_assign_logical(v, in_.arg());
                break;
            case 7:
                value_assign_range(v, in_.arg(), in_.arg());
                break;
            case 8:
                value_assign_list(v, items(false));
                break;
            case 9:
                value_assign_enum(v, items(true));
                break;
            case 10:
                value_assign_pipe(v, create_queue_rtopipe());
                break;
            case 11: {  // nested to around the limit of 1000 levels
                static const int depths[] = {2, 999, 1000, 1001, 1500};
                const int depth = depths[in_.byte() % 5];
                value_t *inner = value_create_from_int(7);
                for (int d = 0; d < depth && inner; ++d) {
                    gl_list_t *l = gl_create();
                    gl_addtoend(l, inner);
                    inner = fresh();
                    value_assign_list(inner, l);
                    if (inner->value_type != list_value) {
                        value_destroy_list_item(inner);
                        inner = nullptr;
                    }
                }
                if (inner) {
                    value_copy(inner, v);
                    value_destroy_list_item(inner);
                }
                break;
            }
            default: {  // a bounded number, its parts as the kind has them
                value_t b{};
                b.value_type = boundednumber_value;
                num *parts[] = {&b.u.bounded.value, &b.u.bounded.lower, &b.u.bounded.upper};
                const int integer = in_.byte() & 1;
                for (num *p : parts) {
                    p->is_int = integer;
                    p->baseuom = 1;
                    p->ival = in_.arg();
                    p->rval = in_.real();
                }
                value_copy(&b, v);
                boundednumSetValAsInt(v, in_.arg());
                boundednumSetLowerAsReal(v, in_.real());
                boundednumSetUpperAsInt(v, in_.arg());
                boundednumSetValAsReal(v, in_.real());
            }
        }
    }

    void operate() {
        using Op = void (*)(const value_t *, const value_t *, value_t *, IValueContext *);
        static const Op ops[] = {value_add,  value_subtract, value_mult,   value_divide,     value_power,
                                 value_and,  value_or,       value_concat, value_change_uom, value_coerce_uom,
                                 value_less, value_greater,  value_equal,  value_offset};
        const value_t *l = pool_[slot()], *r = pool_[slot()];
        value_t *res = pool_[slot()];
        const Op op = ops[in_.byte() % 14];
        if (op == value_concat && (!small(l) || !small(r))) return;
        op(l, r, res, context());
    }

    void function(int s) {
        using Fn = void (*)(value_t *, IValueContext *);
        static const Fn fns[] = {
            [](value_t *v, IValueContext *) { value_head(v); },
            [](value_t *v, IValueContext *) { value_tail(v); },
            [](value_t *v, IValueContext *) { value_list_num(v); },
            [](value_t *v, IValueContext *) { value_elem(v); },
            [](value_t *v, IValueContext *) { value_repl_elem(v); },
            value_tolower,
            value_toupper,
            value_string2id,
            value_id2string,
            value_int,
            value_typeof,
            value_devinfo,
            value_negate,
            value_abs,
            value_log,
            value_sqrt,
            value_exp,
            value_length,
            value_substr,
            value_index,
            value_insertstr,
            value_removestr,
            value_deref,
            value_defined,
            value_variables,
            value_attributes,
            value_specgroups_by_var,
            value_aliases_by_var,
            value_active_conn,
            value_inactive_meas,
            [](value_t *v, IValueContext *) { value_opentee(v); },
        };
        fns[in_.byte() % 31](pool_[s], context());
    }

    void handle() {
        value_t *a = pool_[slot()], *b = pool_[slot()];
        switch (in_.byte() % 6) {
            case 0:
                if (small(a)) value_copy(a, b);
                break;
            case 1:
                value_coerce(a, b, in_.small(-1, 12), context());
                break;
            case 2:
                value_print(nowherePipe, a);
                break;
            case 3: {
                char *q = nullptr;
                size_t at = 0, room = 0;
                value_build_names_query(a, &q, &at, &room);
                ZARN_FUZZ_CHECK(q == nullptr || std::strlen(q) == at);
                value_destroy_names_query(q);
                break;
            }
            case 4:
                std::free(number_value_to_char(a, nullptr));
                break;
            default:
                value_destroy(a);
        }
    }

    void enumeration(int s) {
        value_t *v = pool_[s];
        static const char *texts[] = {"LOW", "HIGH", "MID", "low", "", "A B", "X", "Y"};
        switch (in_.byte() % 5) {
            case 0:
                value_setenum_size(v, in_.small(-1, 12));
                break;
            case 1:  // the caller's array holds as many texts as there are choices
                if (v->value_type == enum_value && v->u.enumeration.nchoices <= 8)
                    value_assign_enum_as_char(v, texts);
                break;
            case 2:
                value_enum_setvalue_asInt(v, in_.arg());
                break;
            case 3:
                value_enum_setvalue_asString(v, texts[in_.byte() % 8]);
                break;
            default: {
                const char *t = v->value_type == enum_value ? value_enum_getvalue_asString(v) : nullptr;
                if (t) (void)std::strlen(t);
                (void)value_enum_getvalue_asInt(v);
            }
        }
    }

    HashTable *local() {
        HashTable *&t = locals_[in_.byte() % kParamTables];
        if (!t) t = param_init(1);
        return in_.byte() % 3 ? t : nullptr;
    }
    const char *name() { return param_names()[in_.byte() % kParamNames]; }

    void parameters() {
        HashTable *t = local();
        const char *n = name();
        value_t *v = pool_[slot()];
        switch (in_.byte() % 7) {
            case 0:
                if (small(v)) param_set(n, v, t, context());
                break;
            case 1:
                if (t) param_define_local(n, t, context());
                break;
            case 2:
                if (!linked_name(n)) param_undef(n, t);
                break;
            case 3:
                param_read(n, v, t, context());
                break;
            case 4: {
                int is_local = -1;
                (void)(param_defined(n, t, &is_local) + param_read_only(n, t) + param_linked(n, t) +
                       param_num_defined(t));
                char buffer[1200];
                param_inq_name(t, in_.arg(), buffer);
                break;
            }
            case 5:
                param_show(nowherePipe, t);
                break;
            default: {
                std::string s = text();
                char *out = rtidex_expand_params(s.c_str(), context());
                // Without a reference the text comes back whole; with one, cut to the buffer.
                const bool plain = s.find('&') == std::string::npos;
                ZARN_FUZZ_CHECK(out == nullptr || (plain ? s == out : std::strlen(out) <= 1024));
                std::free(out);
            }
        }
    }

    // A walk whose visit changes the table it walks.
    struct Walk {
        HashTable *table;
        int action;
        int visits;
    };
    void walk() {
        HashTable *&t = locals_[in_.byte() % kParamTables];
        if (!t) t = param_init(1);
        Walk w{t, in_.byte() % 5, 0};
        const int answer = param_iterate(&w, t, [](void *arg, const char *n) {
            auto &w = *static_cast<Walk *>(arg);
            ++w.visits;
            switch (w.action) {
                case 0:
                    param_undef(n, w.table);
                    break;
                case 1:  // every other name (a name missing here would be looked up globally)
                    for (int i = 0; i < kParamNames; ++i)
                        if (param_defined(param_names()[i], w.table, nullptr) &&
                            !linked_name(param_names()[i]))
                            param_undef(param_names()[i], w.table);
                    break;
                case 2:
                    param_define_local((std::string("N") + n).substr(0, 12).c_str(), w.table, nullptr);
                    break;
                case 3:
                    param_undef(n, w.table);
                    return 3;
                default:
                    break;
            }
            (void)std::strlen(n);  // still readable after the visit changed the table
            return 0;
        });
        ZARN_FUZZ_CHECK(answer == (w.action == 3 && w.visits > 0 ? 3 : 0));
    }

    // A hash table of static names whose own functions try to change it.
    void hash() {
        static const char *keys[] = {"a", "b", "c", "dd", "eee", "f", "g", "h"};
        if (!hash_) {
            hash_ = hashCreate(
                static_cast<uint32_t>(in_.small(0, 60)),
                [](const void *s) { return hash_pjw(static_cast<const char *>(s)); }, nullptr,
                [](const void *a, const void *b) {
                    return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
                },
                in_.small(-1, 1), 0);
            return;
        }
        static HashTable *walked;
        walked = hash_;
        const char *key = keys[in_.byte() % 8];
        switch (in_.byte() % 6) {
            case 0:
                hashAddItem(hash_, const_cast<char *>(key));
                break;
            case 1:
                hashRemoveItem(hash_, key);
                break;
            case 2:
                hashDataIterate(hash_, const_cast<char *>(key), [](void *k, void *item) {
                    hashAddItem(walked, k);
                    hashRemoveItem(walked, item);
                    hashSizeEstimate(walked, 1000);
                    return hashFindItem(walked, item) == nullptr ? 1 : 0;
                });
                break;
            case 3:
                hashIterate(hash_, [](void *item) -> void * {
                    hashRemoveAll(walked, nullptr);
                    return item;
                });
                break;
            case 4:
                hashRemoveAll(hash_, [](void *) { hashDestroy(walked, nullptr); });
                break;
            default:
                (void)hashFindItem(hash_, key);
        }
    }

    // Arrays of doubles and integers, passed twice or overlapping on purpose.
    void numeric() {
        static const double pool[] = {3, -1, 0, 2.5, 1e300, -0.0, 7, 7};
        std::vector<double> x(40);
        std::vector<int64_t> k(40);
        for (size_t i = 0; i < x.size(); ++i) {
            const uint8_t b = in_.byte();
            x[i] = b == 255 ? std::nan("") : pool[b % 8] + static_cast<double>(i % 5);
            k[i] = static_cast<int64_t>(b % 16) - 3;
        }
        int64_t n = in_.small(-1, 20), kflag = in_.small(-3, 3);
        const int shift = in_.small(0, 3);  // 0: the same array twice
        switch (in_.byte() % 8) {
            case 0:
                SLATEC_DSORT(x.data(), x.data() + shift, &n, &kflag);
                break;
            case 1:
                SLATEC_ISORT(k.data(), k.data() + shift, &n, &kflag);
                break;
            case 2: {
                int64_t block = 0, m = 0, *out = in_.byte() & 1 ? &block : nullptr;
                if (in_.byte() & 1)
                    U3PERM_VAR_CREATE(k.data(), &n, out, &m);
                else
                    U3PERM_EQN_CREATE(k.data(), &n, out, &m);
                if (block) blocks_.push_back(block);
                break;
            }
            case 3: {  // a permutation applied to a vector inside itself or beside it
                if (blocks_.empty()) break;
                int64_t block = blocks_[in_.byte() % blocks_.size()];
                int64_t *v = in_.byte() & 1 ? ZARN_ib0 + block + shift : k.data();
                if (v == k.data() && ZARN_ib0[block] - 3 > static_cast<int64_t>(k.size()))
                    break;  // the caller's vector holds n
                U3PERM_APPLY_IVEC(&block, v);
                int64_t i = in_.arg(), copy = 0;
                (void)(U3PERM_COMP2UNCOMP(&block, &i) + U3PERM_UNCOMP2COMP(&block, &i));
                if (ZARN_ib0[block] - 3 <= static_cast<int64_t>(x.size()))
                    U3PERM_COPY_APPLY_RVEC(&block, x.data(), in_.byte() & 1 ? &copy : nullptr);
                if (copy) RTO_DFREE(&copy);
                break;
            }
            case 4: {  // incidence counts and the rows' nonzeros, outputs maybe left out
                if (n < 0) break;
                for (int64_t &r : k) r = r < 0 ? -r : r % (n + 1);
                int64_t out = 0, count = 0, row = 1, *o = in_.byte() & 1 ? &out : nullptr;
                U3MAP_REL_INCIDENCE(&n, k.data(), k.data(), k.data(), &n, o);
                if (out) RTO_IFREE(&out);
                NZ_IN_ROW(&row, k.data(), &n, o, &count);
                if (out) RTO_IFREE(&out);
                break;
            }
            case 5: {
                if (n < 1) break;
                int64_t room = n + 3;  // flags shifted into the block stay inside it
                int64_t block = RTO_HUGEIMALLOC(&room);
                for (int64_t i = 0; i < n; ++i) ZARN_ib0[block + i] = k[static_cast<size_t>(i)];
                int64_t limit = in_.small(-2, 5);
                U3REMAP(&n, &limit, &block, in_.byte() & 1 ? ZARN_ib0 + block + shift : k.data());
                RTO_IFREE(&block);
                break;
            }
            case 6: {  // values and fields sharing memory
                alignas(8) char field[64];
                std::memset(field, 'a', sizeof field);
                const int64_t count = in_.small(-1, 20);
                const size_t len = static_cast<size_t>(in_.small(0, 32));
                if (in_.byte() & 1)
                    IU_I42STR(reinterpret_cast<const int32_t *>(field + 4 * shift), &count, field, len);
                else if (count * 4 <= 64 - 4 * shift)
                    IU_STR2I4(field + shift, reinterpret_cast<int32_t *>(field), &count, len);
                IU_STRCAT(field, field + shift, len, len);
                IU_PACKSTR(field, len);
                break;
            }
            default: {
                const int64_t len = in_.small(-1, 40);
                char a[40], b[40];
                std::memset(a, 'x', sizeof a);
                std::memset(b, ' ', sizeof b);
                COPY_CHAR_STR(a + shift, &len, a, &len, sizeof a - static_cast<size_t>(shift), sizeof a);
                COPY_CHAR_STR(a, &len, b, &len, sizeof a, sizeof b);
            }
        }
    }
};

}  // namespace zarn::fuzz::apiseq

#endif
