// The assigning recorder's variants and their readers: records that pass a
// SPEC query, and names rewritten at their leading part. Each variant is the
// assigning recorder with its own rules (what it refuses to assign) and one
// operation of its own.
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "attrcat/attrcat.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "varfile/recorders.h"
#include "varfile/varfile_messages.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace zarn::varfile {

namespace {

using A = RTVarDatabase;
namespace ac = zarn::attrcat;

constexpr uint32_t bits(std::initializer_list<int> attributes) {
    uint32_t set = 0;
    for (int a : attributes) set |= attribute_bit(a);
    return set;
}

// What the variants assign less than the plain assigning recorder.
constexpr AssignRecorder::Rules kQueryRules = {
    .refusedNumbers = bits({A::THRESHOLD, A::MODIFIED}),
    .refusedTexts = bits({A::MODIFIED, A::VAR_TYPE, A::RAMPED}),
    .unitSetsConnType = false,
};
constexpr AssignRecorder::Rules kSubsRules = {
    .refusedNumbers = bits({A::THRESHOLD, A::SHADOW_PRICE}),
    .refusedTexts =
        bits({A::ACTIVE_BOUND, A::DESCRIPTION, A::MODIFIED, A::VAR_TYPE, A::RAMPED, A::CONN_TYPE}),
    .unitSetsConnType = false,
};

size_t length_of(const char *text) { return text != nullptr ? std::strlen(text) : 0; }

// Does name begin with the n upper-case characters of prefix, ignoring the
// case of name?
bool begins_with(const char *name, const char *prefix, size_t n) {
    for (size_t k = 0; k < n; ++k) {
        const char c = name[k];
        if (c == '\0') return false;
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != prefix[k]) return false;
    }
    return true;
}

// An upper-case copy of a prefix; NULL stays NULL. False when memory is short.
bool copy_prefix(const char *prefix, char **copy) {
    *copy = nullptr;
    if (prefix == nullptr) return true;
    char *buffer = nullptr;
    size_t capacity = 0;
    if (upper(buffer, capacity, prefix, std::strlen(prefix), "RTVarFileInWithSubs") == nullptr) return false;
    *copy = buffer;
    return true;
}

}  // namespace

}  // namespace zarn::varfile

namespace vf = zarn::varfile;
using A = RTVarDatabase;

AssignRecorderWithQuery::AssignRecorderWithQuery(const gl_list_t *attributes, rtvarlst_t *list, int level,
                                                 const VarFilter *filter, const gl_list_t *texts,
                                                 int attribute)
    : AssignRecorder(attributes, list, level, filter, vf::kQueryRules),
      texts_(texts),
      attribute_(attribute) {}

int AssignRecorderWithQuery::QueryAttribute(Attribute *a) {
    if (vf::attribute_bit(attribute_) == 0) return 0;
    if (a != nullptr) *a = Attribute(attribute_);
    return 1;
}

int AssignRecorderWithQuery::QueryMatches(int i, Attribute a, const char *text, int, int) {
    if (a != A::SPEC || text == nullptr || text[0] == '\0' || texts_ == nullptr || list_ == nullptr) return 0;
    bool listed = false;
    for (const gl_node_t *node = texts_->head; node != nullptr && !listed; node = node->next) {
        const char *query = static_cast<const char *>(node->data);
        listed = query != nullptr && strcasecmp(query, text) == 0;
    }
    if (!listed) return 0;
    const char *now = vf::ac::word_of(vf::ac::kSpec, varInqSpec(rtovarlst_inq_var_status(list_, i)));
    return now != nullptr && strcasecmp(now, text) == 0 ? 1 : 0;
}

AssignRecorderWithSubs::AssignRecorderWithSubs(const gl_list_t *attributes, rtvarlst_t *list, int level,
                                               const VarFilter *filter, const char *oldPrefix,
                                               const char *newPrefix)
    : AssignRecorder(attributes, list, level, filter, vf::kSubsRules),
      old_(oldPrefix),
      oldLength_(vf::length_of(oldPrefix)),
      new_(newPrefix),
      newLength_(vf::length_of(newPrefix)) {}

AssignRecorderWithSubs::~AssignRecorderWithSubs() { std::free(name_); }

int AssignRecorderWithSubs::LookupVariable(const char *name) {
    if (name == nullptr) return 0;
    if (oldLength_ == 0 && newLength_ == 0) return AssignRecorder::LookupVariable(name);
    if (!vf::begins_with(name, old_, oldLength_)) return 0;
    // Without a new prefix the separator after the old one goes as well.
    const size_t skip = newLength_ > 0 ? oldLength_ : oldLength_ + 1;
    const size_t n = std::strlen(name);
    if (skip > n) return 0;
    const size_t rest = n - skip;
    if (rest > vf::kNameMax || newLength_ > vf::kNameMax - rest) return 0;  // longer than any name in a list
    if (vf::upper(name_, capacity_, name + skip, rest, "AssignRecorderWithSubs") == nullptr) return 0;
    std::memmove(name_ + newLength_, name_, rest + 1);
    if (newLength_ > 0) std::memcpy(name_, new_, newLength_);
    return AssignRecorder::LookupVariable(name_);
}

RTVarFileInQuery::RTVarFileInQuery(rtopipe *pipe, rtvarlst_t *list) : RTVarFileReader(pipe, list) {
    CopyReadMask("RTVarFileInQuery");
}

RTVarFileInQuery::~RTVarFileInQuery() { gl_destroy(texts_, std::free); }

int RTVarFileInQuery::SetQuery(VarAttribute attribute, gl_list_t *texts) {
    if (texts == nullptr) return 0;
    if (texts != texts_) gl_destroy(texts_, std::free);
    texts_ = texts;
    attribute_ = attribute;
    return 1;
}

void RTVarFileInQuery::Go() {
    AssignRecorderWithQuery recorder(attributes_, list_, GetLevel(), this, texts_, attribute_);
    Read(recorder, "RTVarFileInQuery");
}

RTVarFileInWithSubs::RTVarFileInWithSubs(rtopipe *pipe, rtvarlst_t *list, const char *oldPrefix,
                                         const char *newPrefix)
    : RTVarFileReader(pipe, list) {
    AddSupportedAttributes();
    copied_ = vf::copy_prefix(oldPrefix, &old_) && vf::copy_prefix(newPrefix, &new_);
}

RTVarFileInWithSubs::~RTVarFileInWithSubs() {
    std::free(old_);
    std::free(new_);
}

void RTVarFileInWithSubs::Go() {
    if (!copied_) return;
    AssignRecorderWithSubs recorder(attributes_, list_, GetLevel(), this, old_, new_);
    Read(recorder, "RTVarFileInWithSubs");
}
