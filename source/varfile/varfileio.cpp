// The processors' common base: level, attribute list and variable sets.
#include <cstdint>
#include <cstring>
#include <new>

#include "rtopipe/report.h"
#include "varfile/varfile_internal.h"
#include "varfile/varfile_messages.h"
#include "zarnutils/varfile.hpp"

namespace zarn::varfile {

namespace {

constexpr int kAttributeCount = ZARN_VARFILE_ATTRIBUTE_COUNT;

// Every writer starts with a copy of this list of all attributes.
gl_list_t *g_write_mask = nullptr;

void *as_item(int a) { return reinterpret_cast<void *>(static_cast<intptr_t>(a)); }

void destroy_sets(gl_list_t *sets) {
    if (sets == nullptr) return;
    for (gl_node_t *n = sets->head; n != nullptr; n = n->next) delete static_cast<RTVarSet *>(n->data);
    gl_destroylist(sets);
}

// Does any set of the list hold i? Stops at the first that does.
bool any_holds(const gl_list_t *sets, rtvarlst_t *list, int i) {
    if (sets == nullptr) return false;
    for (const gl_node_t *n = sets->head; n != nullptr; n = n->next)
        if (static_cast<const RTVarSet *>(n->data)->Contains(list, i)) return true;
    return false;
}

// Appends an owned set; when there is no set or no room, reports and frees it.
void add_set(gl_list_t *sets, RTVarSet *set) {
    const uint32_t before = gl_length(sets);
    if (set != nullptr) gl_addtoend(sets, set);
    if (set == nullptr || sets == nullptr || gl_length(sets) == before) {
        zarn::rtopipe::report(msg::kNoMemory, "RTVarFileIO");
        delete set;
    }
}

// Empties a set list; when no new list can be had, reports and keeps the old one.
void clear_sets(gl_list_t *&sets, const char *who) {
    gl_list_t *empty = gl_create();
    if (empty == nullptr) {
        zarn::rtopipe::report(msg::kNoMemory, who);
        return;
    }
    destroy_sets(sets);
    sets = empty;
}

// Appends a set of the names an expression matches; the set owns it.
void add_regexp(gl_list_t *sets, hs_regexp *re, const char *who) {
    if (re == nullptr) {
        zarn::rtopipe::report(msg::kNoRegexp, who);
        return;
    }
    RTVarSet *set = new (std::nothrow) RTRegexpVarSet(re);
    if (set == nullptr) hs_regfree(re);
    add_set(sets, set);
}

}  // namespace

// The process-wide write mask, made (again) when missing or empty; NULL when
// memory is short.
gl_list_t *write_mask() {
    if (g_write_mask != nullptr && gl_length(g_write_mask) > 0) return g_write_mask;
    gl_destroylist(g_write_mask);
    g_write_mask = createWriteVarFileMask();
    return g_write_mask;
}

}  // namespace zarn::varfile

namespace vf = zarn::varfile;

gl_list_t *createWriteVarFileMask(void) {
    gl_list_t *list = gl_create();
    for (int a = 0; list != nullptr && a < vf::kAttributeCount; ++a) {
        gl_addtoend(list, vf::as_item(a));
        if (gl_length(list) != static_cast<uint32_t>(a + 1)) {
            gl_destroylist(list);
            list = nullptr;
        }
    }
    if (list == nullptr) zarn::rtopipe::report(vf::msg::kNoMemory, "createWriteVarFileMask");
    return list;
}

RTVarFileIO::RTVarFileIO(rtvarlst_t *list, OutputLevel level)
    : included_(nullptr), excluded_(nullptr), level_(level), list_(list), attributes_(nullptr) {
    RTVarFileIO::Reset();
}

RTVarFileIO::~RTVarFileIO() {
    vf::destroy_sets(included_);
    vf::destroy_sets(excluded_);
    gl_destroylist(attributes_);
}

int RTVarFileIO::GetLevel() const { return level_; }

void RTVarFileIO::SetLevel(OutputLevel level) { level_ = level; }

void RTVarFileIO::Reset() {
    vf::destroy_sets(included_);
    vf::destroy_sets(excluded_);
    gl_destroylist(attributes_);
    included_ = gl_create();
    excluded_ = gl_create();
    attributes_ = gl_create();
    if (included_ == nullptr || excluded_ == nullptr || attributes_ == nullptr)
        zarn::rtopipe::report(vf::msg::kNoMemory, "RTVarFileIO::Reset");
    vf::add_set(included_, new (std::nothrow) RTRangeVarSet(1, rtovarlst_inq_nvar(list_)));
}

void RTVarFileIO::ClearAttributes() {
    if (attributes_ == nullptr) return;
    gl_list_t *empty = gl_create();
    if (empty == nullptr) {
        zarn::rtopipe::report(vf::msg::kNoMemory, "RTVarFileIO::ClearAttributes");
        return;
    }
    gl_destroylist(attributes_);
    attributes_ = empty;
}

void RTVarFileIO::AddAttribute(VarAttribute a) {
    if (!SupportedAttribute(a)) {
        if (level_ >= 1) zarn::rtopipe::report(vf::msg::kUnsupportedAttribute, static_cast<int>(a));
        return;
    }
    const uint32_t before = gl_length(attributes_);
    gl_addtoend(attributes_, vf::as_item(a));
    if (gl_length(attributes_) == before)
        zarn::rtopipe::report(vf::msg::kNoMemory, "RTVarFileIO::AddAttribute");
}

void RTVarFileIO::RemoveAttribute(VarAttribute a) {
    if (attributes_ == nullptr) return;
    gl_top(attributes_);
    while (!gl_end(attributes_)) {
        if (gl_get(attributes_) == vf::as_item(a))
            gl_unlinkcur(attributes_);
        else
            gl_next(attributes_);
    }
}

void RTVarFileIO::ClearIncluded() { vf::clear_sets(included_, "RTVarFileIO::ClearIncluded"); }

void RTVarFileIO::IncludeVariable(int i) { vf::add_set(included_, new (std::nothrow) RTSingletonVarSet(i)); }

void RTVarFileIO::IncludeRange(int lo, int hi) {
    vf::add_set(included_, new (std::nothrow) RTRangeVarSet(lo, hi));
}

void RTVarFileIO::IncludeRegexp(hs_regexp *re) {
    vf::add_regexp(included_, re, "RTVarFileIO::IncludeRegexp");
}

void RTVarFileIO::ClearExcluded() { vf::clear_sets(excluded_, "RTVarFileIO::ClearExcluded"); }

void RTVarFileIO::ExcludeVariable(int i) { vf::add_set(excluded_, new (std::nothrow) RTSingletonVarSet(i)); }

void RTVarFileIO::ExcludeRange(int lo, int hi) {
    vf::add_set(excluded_, new (std::nothrow) RTRangeVarSet(lo, hi));
}

void RTVarFileIO::ExcludeRegexp(hs_regexp *re) {
    vf::add_regexp(excluded_, re, "RTVarFileIO::ExcludeRegexp");
}

int RTVarFileIO::IncludeVar(int i) const {
    return vf::any_holds(included_, list_, i) && !vf::any_holds(excluded_, list_, i);
}

int RTVarFileIO::SpecialChars(const char *text) {
    return text != nullptr && text[std::strcspn(text, "* ;=,()[]{}<>&")] != '\0';
}

int RTVarFileIO::PrintedLength(const char *text) {
    if (text == nullptr) return 0;
    const size_t n = std::strlen(text) + (SpecialChars(text) ? 2 : 0);
    return n > INT32_MAX ? INT32_MAX : static_cast<int>(n);
}

void RTVarFileIO::WriteString(rtopipe *pipe, const char *text) {
    if (text == nullptr) return;
    const bool quote = SpecialChars(text) != 0;
    if (quote) rtowrite(pipe, "'", 1);
    rtowritestr(pipe, text);
    if (quote) rtowrite(pipe, "'", 1);
}
