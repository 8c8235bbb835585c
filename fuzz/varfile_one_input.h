// One input of the VARFILE readers' fuzz target, shared with the corpus
// replay test: the first byte picks the readers' set-up (level, attribute
// list, the file's own units, included variables), the rest is read as a
// VARFILE by every reader: the plain reader, the query reader without a
// query and the substitution reader without prefixes (each into a list of
// its own, which must end with the same values), the query and substitution
// readers with a query and prefixes, the comparer and the file query. Then
// the plain reader's list is written and compared with itself, which must
// find no difference. The includer defines ZARN_FUZZ_CHECK(cond) for what a
// failed check does.
#ifndef ZARN_FUZZ_VARFILE_ONE_INPUT_H
#define ZARN_FUZZ_VARFILE_ONE_INPUT_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "zarnutils/rtuom.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace zarn::fuzz {

inline const char *kVarfileNames[] = {"T1", "P.BLK1", "X", "A B", "F"};
inline constexpr int32_t kVarfileVars = 5;

inline rtvarlst_t *varfile_list() {
    rtvarlst_t *l = rtovarlst_create(kVarfileVars);
    rtovarlst_set_nvar(l, kVarfileVars);
    const int ptypes[] = {pt_lookup("TEMPERATURE"), pt_lookup("PRESSURE"), 0, 0, pt_lookup("TEMPERATURE")};
    for (int32_t k = 1; k <= kVarfileVars; ++k) {
        rtvarinfo_t r{};
        r.mask = {RTVARINFO_NAME | RTVARINFO_STATUS | RTVARINFO_VALUE, 0};
        varSetPhysicalType(&r.status, ptypes[k - 1] > 0 ? ptypes[k - 1] : 0);
        r.value = k;
        std::strcpy(r.name, kVarfileNames[k - 1]);
        rtovarlst_initialize_var(l, k, &r, 1);
    }
    return l;
}

inline rtopipe *varfile_pipe(const uint8_t *data, size_t size) {
    rtopipe *q = create_queue_rtopipe();
    if (q != nullptr) rtowrite(q, reinterpret_cast<const char *>(data), size);
    return q;
}

// Everything a queue pipe holds, then the pipe destroyed.
inline std::string varfile_drain(rtopipe *q) {
    std::string text;
    char buffer[4096];
    for (int64_t n; (n = rtoread(q, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    rtodestroy(q);
    return text;
}

// The set-up the first byte picks, the same for every reader.
inline void varfile_setup(RTVarFileIO &reader, uint8_t opt) {
    reader.SetLevel(opt & 1 ? RTVarDatabase::WARNINGS : RTVarDatabase::SILENT);
    if (opt & 2) reader.Reset();                                // every attribute it can read
    if (opt & 4) reader.RemoveAttribute(RTVarDatabase::UNITS);  // numbers in the file's units
    if (opt & 8) reader.ExcludeVariable(1 + opt / 16 % kVarfileVars);
}

inline void varfile_run(RTVarFileIO &reader, uint8_t opt) {
    varfile_setup(reader, opt);
    reader.Go();
    if (opt & 128) reader.Go();  // a second run reads nothing more
}

inline bool same_number(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The list written with every attribute a file gives back as it was, and the
// file compared with the list at level 2: only the summary, every count 0.
// A price type (which a "$/..." unit gives an untyped variable) is written as
// a name no reader takes back, so such a list is left out.
inline void varfile_round_trip(rtvarlst_t *l) {
    for (int32_t k = 1; k <= kVarfileVars; ++k)
        if (varInqPhysicalType(rtovarlst_inq_var_status(l, k)) < 0) return;
    rtopipe *file = create_queue_rtopipe();
    if (file == nullptr) return;
    {
        RTVarFileOut out(copyPipe(file), l, 8, 32, 200, 8);
        for (RTVarDatabase::VarAttribute a :
             {RTVarDatabase::SHADOW_PRICE, RTVarDatabase::ACTIVE_BOUND, RTVarDatabase::DESCRIPTION,
              RTVarDatabase::MODIFIED, RTVarDatabase::VAR_TYPE})
            out.RemoveAttribute(a);  // these always count as changed
        out.Go();
    }
    const std::string text = varfile_drain(file);
    if (text.find("inf") != std::string::npos || text.find("nan") != std::string::npos)
        return;  // read as words
    rtopipe *report = create_queue_rtopipe();
    if (report == nullptr) return;
    {
        RTVarFileCmp cmp(varfile_pipe(reinterpret_cast<const uint8_t *>(text.data()), text.size()), report,
                         l);
        cmp.SetLevel(RTVarDatabase::OutputLevel(2));
        cmp.Go();
    }
    const std::string said = varfile_drain(report);
    ZARN_FUZZ_CHECK(said.rfind("COMPARE VARFILE REPORT\n", 0) == 0);
    for (size_t line = said.find('\n', said.find("=\n")) + 1; line < said.size();
         line = said.find('\n', line) + 1)
        ZARN_FUZZ_CHECK(said.compare(line + 15, 10, "         0") == 0);
}

inline void varfile_one_input(const uint8_t *data, size_t size) {
    static rtvarlst_t *list = varfile_list(), *unqueried = varfile_list(), *unprefixed = varfile_list();
    static rtvarlst_t *scratch = varfile_list();
    if (size < 1) return;
    const uint8_t opt = data[0];
    ++data;
    --size;
    rtopipe *q = varfile_pipe(data, size);
    if (q == nullptr) return;
    {
        RTVarFileIn in(q, list);
        varfile_run(in, opt);
        RTVarFileInQuery no_query(varfile_pipe(data, size), unqueried);
        varfile_run(no_query, opt);
        RTVarFileInWithSubs no_prefix(varfile_pipe(data, size), unprefixed, nullptr, nullptr);
        varfile_run(no_prefix, opt);
    }
    // What the variants refuse or the file's units never changes a value they all read.
    for (int32_t k = 1; k <= kVarfileVars; ++k) {
        const double v = rtovarlst_inq_var_value(list, k, 0);
        ZARN_FUZZ_CHECK(same_number(v, rtovarlst_inq_var_value(unqueried, k, 0)));
        ZARN_FUZZ_CHECK(same_number(v, rtovarlst_inq_var_value(unprefixed, k, 0)));
    }
    {
        RTVarFileInQuery query(varfile_pipe(data, size), scratch);
        gl_list_t *words = gl_create();
        for (const char *w : {"CONST", "calc"}) gl_addtoend(words, strdup(w));
        query.SetQuery(RTVarDatabase::SPEC, words);
        varfile_run(query, opt);
        RTVarFileInWithSubs subs(varfile_pipe(data, size), scratch, opt & 16 ? "p" : nullptr, "P.B");
        varfile_run(subs, opt);
    }
    if (rtopipe *report = create_queue_rtopipe()) {
        {
            RTVarFileCmp cmp(varfile_pipe(data, size), report, list);
            varfile_setup(cmp, opt);
            if (opt & 1) cmp.SetLevel(RTVarDatabase::OutputLevel(2));  // a line per difference
            cmp.Go();
        }
        ZARN_FUZZ_CHECK(varfile_drain(report).find("COMPARE VARFILE REPORT\n") != std::string::npos);
    }
    {
        RTVarFileQry query(varfile_pipe(data, size));
        query.Go();
        ZARN_FUZZ_CHECK(query.AttrAt(-1) == -1 && query.AttrAt(query.NumAttr()) == -1);
        for (int k = 1; k < query.NumAttr(); ++k) ZARN_FUZZ_CHECK(query.AttrAt(k - 1) < query.AttrAt(k));
        ZARN_FUZZ_CHECK(query.BlockIDAt(-1) == nullptr && query.BlockIDAt(query.NumBlocks()) == nullptr);
        for (int k = 1; k < query.NumBlocks(); ++k)
            ZARN_FUZZ_CHECK(std::strcmp(query.BlockIDAt(k - 1), query.BlockIDAt(k)) < 0);
    }
    varfile_round_trip(list);
    // The lists keep their shape and names whatever the file held.
    for (rtvarlst_t *l : {list, unqueried, unprefixed, scratch}) {
        ZARN_FUZZ_CHECK(rtovarlst_inq_nvar(l) == kVarfileVars);
        for (int32_t k = 1; k <= kVarfileVars; ++k)
            ZARN_FUZZ_CHECK(rtovarlst__varname2index(l, kVarfileNames[k - 1]) == k);
    }
}

}  // namespace zarn::fuzz

#endif
