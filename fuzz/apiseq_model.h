// Steps of the API-sequence fuzz target over a variable list as a model: the
// command language's assignment and lookup by dotted name, variable records
// read and written back (their texts passed in from the list itself), print
// masks made from values, the record filters, a VARFILE written and read back
// through the processors' own API (with a byte of the text changed on the
// way), and X-files saved, restored by index or by name, updated and queried.
// The list given is any live list of the dictionary steps, head or window, so
// these calls meet every shape the other steps leave. Each step's result is
// checked where the rules fix it without the library as its own oracle:
// lookups give valid values, masks hold only 0 and 1, filters answer 0 or 1,
// a restore never reports more missing names than the file holds.
// The includer defines ZARN_FUZZ_CHECK(cond) and provides Bytes.
#ifndef ZARN_FUZZ_APISEQ_MODEL_H
#define ZARN_FUZZ_APISEQ_MODEL_H

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zarnutils/attrcatalog.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/msgdigest.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/rtvalue.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varassign.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varmask.h"
#include "zarnutils/xfile.h"

namespace zarn::fuzz::apiseq {

// The attribute words a dotted name may carry, from the catalogue, and a few
// that no context accepts.
inline const char *attribute_word(uint8_t k) {
#define ZARN_APISEQ_WORD(name) #name,
    static const char *words[] = {ZARN_VARFILE_ATTRIBUTES(ZARN_APISEQ_WORD) "SB", "LB", "VAL", "", "NOPE"};
#undef ZARN_APISEQ_WORD
    return words[k % (sizeof words / sizeof words[0])];
}

// Texts a value or a VARFILE field may hold: status words, numbers, units.
inline const char *value_text(uint8_t k) {
    static const char *texts[] = {"FIXED", "FREE", "INITIAL", "LOWER", "UPPER", "BOTH", "NONE",
                                  "IN",    "FT",   "K",       "3.5",   "-1e35", "x",    "",
                                  "1e400", "YES",  "NO",      "NaN",   "[1,2]", "BAD",  "STATE"};
    return texts[k % (sizeof texts / sizeof texts[0])];
}

class ModelSteps {
  public:
    explicit ModelSteps(Bytes &in) : in_(in) {}
    ModelSteps(const ModelSteps &) = delete;
    ModelSteps &operator=(const ModelSteps &) = delete;
    ~ModelSteps() {
        if (!path_.empty()) std::remove(path_.c_str());
    }

    // One step on list l (a live head or window in a consistent state).
    void step(rtvarlst_t *l) {
        switch (in_.byte() % 8) {
            case 0:
                assign(l);
                break;
            case 1:
                lookup(l);
                break;
            case 2:
                record(l);
                break;
            case 3:
                masks();
                break;
            case 4:
                filters(l);
                break;
            case 5:
                varfile(l);
                break;
            default:
                xfile(l);
        }
    }

  private:
    Bytes &in_;
    std::string path_;

    // A dotted target over a name the list holds (or one it does not).
    std::string target(rtvarlst_t *l) {
        int32_t n = rtovarlst_inq_nvar(l);
        std::string t;
        int32_t k = n > 0 ? 1 + in_.byte() % n : 0;
        const char *name = k > 0 ? rtovarlst_lookup_var_name(l, k) : nullptr;
        t = name != nullptr && (in_.byte() & 7) != 0 ? name : "NOSUCH";
        if ((in_.byte() & 7) != 0) t += std::string(".") + attribute_word(in_.byte());
        return t;
    }

    // A value of a kind assignment meets: reals with types and units, integers,
    // texts, identifiers, booleans, a list and nothing.
    void make_value(value_t *v) {
        value_init(v);
        switch (in_.byte() % 7) {
            case 0:
                value_assign_double(v, in_.real(), in_.small(-1, 150), in_.small(-1, 40));
                break;
            case 1:
                value_assign_int(v, in_.arg());
                break;
            case 2:
                value_assign_copy_of_string(v, value_text(in_.byte()));
                break;
            case 3:
                value_assign_copy_of_id(v, value_text(in_.byte()));
                break;
            case 4:
                value_assign_logical(v, in_.byte() & 1);
                break;
            case 5:
                list_of_ids(v);
                break;
            default:
                break;  // UNDEFINED
        }
    }

    void list_of_ids(value_t *v) {
        gl_list_t *items = gl_create();
        if (items == nullptr) return;
        int n = in_.small(0, 4);
        for (int k = 0; k < n; ++k) {
            auto *item = static_cast<value_t *>(std::malloc(sizeof(value_t)));
            if (item == nullptr) break;
            value_init(item);
            value_assign_copy_of_id(item,
                                    (in_.byte() & 1) ? attribute_word(in_.byte()) : value_text(in_.byte()));
            gl_addtoend(items, item);
        }
        value_assign_list(v, items);
    }

    void assign(rtvarlst_t *l) {
        value_t v;
        make_value(&v);
        std::string t = target(l);
        rtovarlst_assign_value(l, t.c_str(), &v);
        ZARN_FUZZ_CHECK(value_okay(&v));
        value_destroy(&v);
    }

    void lookup(rtvarlst_t *l) {
        value_t v;
        make_value(&v);  // SHADOW_PRICE reads the unit wanted from the incoming number
        std::string t = target(l);
        rtovarlst_lookup_value(l, t.c_str(), &v);
        ZARN_FUZZ_CHECK(value_okay(&v));
        value_destroy(&v);
        int32_t k = rtovarlst_variable_object(l, t.c_str());
        ZARN_FUZZ_CHECK(k >= 0 && k <= rtovarlst_inq_nvar(l));
    }

    // A record read from one item and written to another (or the same one),
    // its name and description pointing into the list.
    void record(rtvarlst_t *l) {
        static rtvarinfo_t r;
        int32_t from = in_.arg(), to = in_.arg();
        int32_t n = rtovarlst_inq_nvar(l);
        if (n > 0 && (in_.byte() & 3) != 0) {
            from = 1 + in_.byte() % n;
            to = 1 + in_.byte() % n;
        }
        std::memset(&r, 0, sizeof r);
        r.mask = {in_.byte() & 1 ? 0x7FFFFFFFu : static_cast<uint32_t>(in_.arg()),
                  static_cast<uint32_t>(in_.arg())};
        r.mask.mask1 &=
            ~static_cast<uint32_t>(RTVARINFO_VAR_PROFILE | RTVARINFO_BLOCKPTR | RTVARINFO_CONN_MGR);
        unsigned char si = in_.byte() & 1;
        rtovarlst_inq_var(l, from, &r, si);
        ZARN_FUZZ_CHECK(std::memchr(r.name, '\0', sizeof r.name) != nullptr);
        r.profile = nullptr;
        r.blockptr = nullptr;
        r.conn_mgr = nullptr;
        if (in_.byte() & 1) {
            r.value = in_.real();
            r.lower = in_.real();
            r.status = in_.arg();
        }
        if (in_.byte() & 1)
            rtovarlst_set_var(l, to, &r, si);
        else if (to >= 1 && to <= n && in_.byte() % 4 == 0)
            rtovarlst_initialize_var(l, to, &r, si);
    }

    // Print masks made from values: every flag stays 0 or 1.
    void masks() {
        value_t v;
        make_value(&v);
        int64_t vmask[VMASK_SIZE];
        int32_t emask[EMASK_SIZE];
        vmask_select_none(vmask);
        emask_select_none(emask);
        switch (in_.byte() % 3) {
            case 0:
                (void)vmask_from_value(vmask, &v);
                break;
            case 1:
                (void)vmask_from_value2(vmask, &v);
                break;
            default:
                (void)emask_from_value(emask, &v);
        }
        for (int64_t flag : vmask) ZARN_FUZZ_CHECK(flag == 0 || flag == 1);
        for (int32_t flag : emask) ZARN_FUZZ_CHECK(flag == 0 || flag == 1);
        value_destroy(&v);
    }

    void filters(rtvarlst_t *l) {
        static rtvarinfo_t r;
        std::memset(&r, 0, sizeof r);
        r.mask = rtvarinfo_mask_from_int(RTVARINFO_ALL);
        rtovarlst_inq_var(l, in_.arg(), &r, 1);
        static const char *patterns[] = {"A", "^B", "x*", "(", "", ".*"};
        hs_regexp *re = hs_regcomp(patterns[in_.byte() % 6]);
        const rtvarinfo_t *record = (in_.byte() & 7) != 0 ? &r : nullptr;
        int answers[] = {
            vfilter_always_true(record, nullptr),   vfilter_var_is_fixed(record, nullptr),
            vfilter_regexp_match(record, re),       vfilter_fixed_regexp_match(record, re),
            vfilter_active_bounds(record, nullptr), vfilter_regexp_match_with_active_bounds(record, re)};
        for (int answer : answers) ZARN_FUZZ_CHECK(answer == 0 || answer == 1);
        hs_regfree(re);
    }

    // The writer's text read back into the list, sometimes with one byte changed.
    void varfile(rtvarlst_t *l) {
        static const int widths[] = {INT32_MIN, -1, 0, 1, 8, 30};
        rtopipe *q = create_queue_rtopipe();
        if (q == nullptr) return;
        {
            RTVarFileOut out(copyPipe(q), l, widths[in_.byte() % 6], widths[in_.byte() % 6],
                             widths[in_.byte() % 6], widths[in_.byte() % 6]);
            sets(out);
            out.Go();
        }
        std::string text;
        char buffer[4096];
        for (int64_t got; (got = rtoread(q, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(got));
        rtodestroy(q);
        if (!text.empty() && (in_.byte() & 1))
            text[in_.byte() * 131u % text.size()] = static_cast<char>(in_.byte());
        rtopipe *p = create_queue_rtopipe();
        if (p == nullptr) return;
        rtowrite(p, text.data(), text.size());
        RTVarFileIn reader(p, l);
        sets(reader);
        reader.Go();
        if (in_.byte() & 1) reader.Go();  // nothing left: a second run reads nothing
    }

    // Attributes and variable sets of a processor, with extreme numbers.
    void sets(RTVarDatabase &db) {
        int n = in_.small(0, 4);
        for (int k = 0; k < n; ++k) {
            auto a = static_cast<RTVarDatabase::VarAttribute>(in_.small(-1, ZARN_VARFILE_ATTRIBUTE_COUNT));
            switch (in_.byte() % 9) {
                case 0:
                    db.ClearAttributes();
                    break;
                case 1:
                    db.AddAttribute(a);
                    break;
                case 2:
                    db.RemoveAttribute(a);
                    break;
                case 3:
                    db.IncludeVariable(in_.arg());
                    break;
                case 4:
                    db.IncludeRange(in_.arg(), in_.arg());
                    break;
                case 5:
                    db.ExcludeRange(in_.arg(), in_.arg());
                    break;
                case 6:
                    db.IncludeRegexp(hs_regcomp(in_.byte() & 1 ? "^A" : "("));
                    break;
                case 7:
                    db.SetLevel(static_cast<RTVarDatabase::OutputLevel>(in_.small(-1, 3)));
                    break;
                default:
                    db.Reset();
            }
        }
    }

    // Saves part of the list and restores it into the same list.
    void xfile(rtvarlst_t *l) {
        if (path_.empty()) path_ = "/tmp/zarn_apiseq_xfile_" + std::to_string(::getpid());
        int64_t digest[RTXFILE_NDIGEST] = {};
        zarn_md5_ctx_t ctx;
        MD5Init(&ctx);
        (void)rtovarlst_compute_md(l, &ctx);
        MD5Final(&ctx);
        for (int k = 0; k < RTXFILE_NDIGEST; ++k) digest[k] = ctx.digest[k];
        int64_t flags[RTXFILE_NFLAGS], select[RTXFILE_NFLAGS];
        for (int k = 0; k < RTXFILE_NFLAGS; ++k) {
            flags[k] = in_.byte() % 4 != 0;
            select[k] = in_.byte() % 4 != 0;
        }
        const int64_t create = 1, read = 0, update = 2;
        int64_t by_name = 0, first = in_.arg(), last = in_.arg();
        int32_t n = rtovarlst_inq_nvar(l);
        if (in_.byte() & 1) {
            first = 1;
            last = n;
        }
        int64_t unit = RTXFILE_OPEN(path_.c_str(), digest, &create, flags, &by_name, path_.size());
        if (unit == 0) return;
        RTXFILE_SAVE_VARIABLE(&unit, &l, &first, &last, flags);
        RTXFILE_CLOSE(&unit);
        if (in_.byte() % 4 == 0) {
            unit = RTXFILE_OPEN(path_.c_str(), digest, &update, select, &by_name, path_.size());
            if (unit != 0) {
                RTXFILE_UPDATE_VARIABLE(&unit, &l, select);
                RTXFILE_CLOSE(&unit);
            }
        }
        unit = RTXFILE_OPEN(path_.c_str(), digest, &read, flags, &by_name, path_.size());
        if (unit == 0) return;
        if (in_.byte() & 1) by_name = 1 - by_name;
        static const char patterns[] = "A   B   ";
        static const char replacements[] = "Z   C.  ";
        int64_t nsub = in_.small(0, 2), use_except = in_.byte() & 1, skip_fixed = in_.byte() & 1;
        std::vector<int64_t> except(static_cast<std::size_t>(n > 0 ? n : 1), 0);
        if (n > 0) except[in_.byte() % n] = 1;
        int64_t missing = RTXFILE_RESTORE_EXCEPT(&unit, &l, select, &by_name, &nsub, patterns, replacements,
                                                 &use_except, except.data(), &skip_fixed, 4, 4);
        int64_t saved = last >= first && first >= 1 ? last - first + 1 : 0;
        ZARN_FUZZ_CHECK(missing <= 0 && -missing <= saved);
        RTXFILE_CLOSE(&unit);
    }
};

}  // namespace zarn::fuzz::apiseq

#endif
