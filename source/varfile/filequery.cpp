// What a VARFILE holds, read without a variable list: the attributes its
// headers name and the blocks its variable names belong to.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "varfile/recorders.h"
#include "varfile/varfile_messages.h"
#include "zarnutils/varfile.hpp"

namespace zarn::varfile {

namespace {

constexpr char kBlockMark[] = ".BLK";

char upper_char(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Do the n characters at text, in upper case, spell word (which has n or more)?
bool spells(const char *text, const char *word, size_t n) {
    for (size_t k = 0; k < n; ++k)
        if (upper_char(text[k]) != word[k]) return false;
    return true;
}

// The block names of the running query, one process-wide set: names are
// appended (a name equal to the one before is not), and when the array is
// full it is sorted and its repetitions dropped before it grows, so that it
// holds at most about twice the distinct names.
struct BlockNames {
    char **items = nullptr;
    size_t count = 0, capacity = 0;
    bool lost = false;  // a name could not be kept (reported once)

    void clear() {
        for (size_t k = 0; k < count; ++k) std::free(items[k]);
        std::free(items);
        *this = BlockNames{};
    }

    // Sorted by byte, each name once.
    void compact() {
        std::sort(items, items + count, [](const char *x, const char *y) { return std::strcmp(x, y) < 0; });
        size_t kept = 0;
        for (size_t k = 0; k < count; ++k) {
            if (kept > 0 && std::strcmp(items[kept - 1], items[k]) == 0)
                std::free(items[k]);
            else
                items[kept++] = items[k];
        }
        count = kept;
    }

    bool room() {
        if (count < capacity) return true;
        compact();
        if (count < capacity / 2) return true;
        const size_t want = capacity == 0 ? 64 : capacity * 2;
        size_t bytes = 0;
        if (!byte_count(want, sizeof(char *), &bytes)) return false;
        auto *grown = static_cast<char **>(zarn::xrealloc(items, bytes));
        if (grown == nullptr) return false;
        items = grown;
        capacity = want;
        return true;
    }

    // Adds the first n characters of name in upper case.
    void insert(const char *name, size_t n) {
        if (count > 0 && strnlen(items[count - 1], n + 1) == n && spells(name, items[count - 1], n)) return;
        char *copy = room() ? static_cast<char *>(zarn::xmalloc(n + 1)) : nullptr;
        if (copy == nullptr) {
            if (!lost) zarn::rtopipe::report(msg::kNoMemory, "QueryRecorder");
            lost = true;
            return;
        }
        for (size_t k = 0; k < n; ++k) copy[k] = upper_char(name[k]);
        copy[n] = '\0';
        items[count++] = copy;
    }
};

BlockNames g_blocks;

// Copies of the set's names in its order; false when memory is short.
bool copy_blocks(char ***names, int32_t *count) {
    g_blocks.compact();
    const size_t n = std::min<size_t>(g_blocks.count, INT32_MAX);
    size_t bytes = 0;
    if (n == 0 || !byte_count(n, sizeof(char *), &bytes)) return n == 0;
    auto *copies = static_cast<char **>(zarn::xmalloc(bytes));
    if (copies == nullptr) return false;
    for (size_t k = 0; k < n; ++k) {
        const size_t length = std::strlen(g_blocks.items[k]);
        copies[k] = static_cast<char *>(zarn::xmalloc(length + 1));
        if (copies[k] == nullptr) {
            while (k > 0) std::free(copies[--k]);
            std::free(copies);
            return false;
        }
        std::memcpy(copies[k], g_blocks.items[k], length + 1);
    }
    *names = copies;
    *count = static_cast<int32_t>(n);
    return true;
}

}  // namespace

}  // namespace zarn::varfile

namespace vf = zarn::varfile;

QueryRecorder::QueryRecorder() { vf::g_blocks.clear(); }

void QueryRecorder::Collect(bool on) {
    if (on) vf::g_blocks.clear();
    collecting_ = on;
}

int QueryRecorder::AcceptsAttribute(Attribute a) {
    if (collecting_) noted_ |= vf::attribute_bit(a);
    return collecting_ || (noted_ & vf::attribute_bit(a)) != 0 ? 1 : 0;
}

int QueryRecorder::LookupVariable(const char *name) {
    if (!collecting_ || name == nullptr) return 0;
    const size_t mark = sizeof vf::kBlockMark - 1;
    for (const char *p = name; *p != '\0'; ++p) {
        if (strnlen(p, mark) == mark && vf::spells(p, vf::kBlockMark, mark)) {
            vf::g_blocks.insert(name, static_cast<size_t>(p - name));
            return 0;
        }
    }
    return 0;
}

void QueryRecorder::AssignReal(int, Attribute, double) {}

void QueryRecorder::AssignInteger(int, Attribute, int) {}

void QueryRecorder::AssignString(int, Attribute, const char *) {}

void QueryRecorder::AssignRealInUnit(int, Attribute, double, const char *) {}

void QueryRecorder::AssignIntegerInUnit(int, Attribute, int, const char *) {}

int QueryRecorder::QueryAttribute(Attribute *) { return 0; }

int QueryRecorder::QueryMatches(int, Attribute, const char *, int, int) { return 1; }

RTVarFileQry::RTVarFileQry(rtopipe *pipe) : RTVarFileReader(pipe, nullptr) {}

RTVarFileQry::~RTVarFileQry() {
    gl_destroylist(found_);
    for (int32_t k = 0; k < nblocks_; ++k) std::free(blocks_[k]);
    std::free(blocks_);
}

void RTVarFileQry::Go() {
    if (done_) return;
    done_ = true;
    QueryRecorder recorder;
    recorder.Collect(true);
    if (!Read(recorder, "RTVarFileQry")) return;
    recorder.Collect(false);
    found_ = gl_create();
    for (int a = 0; found_ != nullptr && a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a) {
        if (!recorder.AcceptsAttribute(VarAttribute(a))) continue;
        const uint32_t before = gl_length(found_);
        gl_addtoend(found_, reinterpret_cast<void *>(static_cast<intptr_t>(a)));
        if (gl_length(found_) == before) gl_destroylist(std::exchange(found_, nullptr));
    }
    const bool copied = vf::copy_blocks(&blocks_, &nblocks_);
    if (found_ == nullptr || !copied) zarn::rtopipe::report(vf::msg::kNoMemory, "RTVarFileQry::Go");
}

int RTVarFileQry::NumAttr() const { return static_cast<int>(gl_length(found_)); }

RTVarDatabase::VarAttribute RTVarFileQry::AttrAt(int i) const {
    if (found_ != nullptr && i >= 0) {
        const gl_node_t *node = found_->head;
        for (int k = 0; node != nullptr && k < i; ++k) node = node->next;
        if (node != nullptr) return VarAttribute(reinterpret_cast<intptr_t>(node->data));
    }
    return VarAttribute(-1);
}

int RTVarFileQry::NumBlocks() const { return nblocks_; }

const char *RTVarFileQry::BlockIDAt(int i) const { return i >= 0 && i < nblocks_ ? blocks_[i] : nullptr; }
