// Values over files: opening a file or a tee as a pipe value, testing that a
// file exists, describing a pipe.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "rtopipe/streams.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"
#include "zarnutils/stred.h"

namespace zarn::rtvalue {
namespace {

struct Mode {
    const char *word;
    const char *text;  // the stream's open mode
    bool binary;
};

constexpr Mode kTextModes[] = {{"READ", "r", false},         {"WRITE", "w", false},
                               {"APPEND", "a", false},       {"READWRITE", "w", false},
                               {"BINARY_READ", "rb", true},  {"BINARY_WRITE", "wb", true},
                               {"BINARY_APPEND", "ab", true}};
constexpr Mode kBinaryModes[] = {{"READ", "rb", true}, {"WRITE", "wb", true}, {"APPEND", "ab", true}};

struct Flavour {
    const char *fn;
    const Mode *modes;
    int nmodes;
    const char *single_mode;
    bool binary;
};

constexpr Flavour kOpenFile = {"value_openfile", kTextModes, 7, "w", false};
constexpr Flavour kOpenBinary = {"value_openbinary", kBinaryModes, 3, "wb", true};

void report_list_failure(const Flavour &f, const char *path, const char *word, const char *err) {
    if (f.binary)
        zarn::rtopipe::report(msg::kOpenBinaryFor, path, word, err);
    else
        zarn::rtopipe::report(msg::kOpenFileFor, path, word, err);
}

const Mode *find_mode(const Flavour &f, const char *word) {
    for (int i = 0; i < f.nmodes; ++i)
        if (std::strcmp(f.modes[i].word, word) == 0) return &f.modes[i];
    return nullptr;
}

// A pipe owning file, named name; the stream is closed when no pipe is made.
::rtopipe *make_pipe(FILE *file, const char *name, bool binary) {
    ::rtopipe *p =
        binary ? create_binary_stream_rtopipe(file, name, 1) : create_ascii_stream_rtopipe(file, name, 1);
    if (!p) std::fclose(file);
    return p;
}

void become_pipe(value_t *v, ::rtopipe *p) {
    release(v);
    if (!p) return;
    v->value_type = pipe_value;
    v->u.pipe = p;
}

// Tries the case variants of name in turn; the pipe of the first that opens.
::rtopipe *open_variants(rtocase *it, const char *mode, bool binary) {
    int err = ENOENT;
    for (const char *cand = rtocase_next(it); cand; cand = rtocase_next(it)) {
        if (FILE *f = std::fopen(cand, mode)) return make_pipe(f, cand, binary);
        err = errno;
    }
    zarn::rtopipe::report(msg::kOpenFile, std::strerror(err));
    return nullptr;
}

void open_from_list(value_t *v, const Flavour &f) {
    const value_t *path = list_item(v->u.list, 0), *word = list_item(v->u.list, 1);
    const Mode *m = nullptr;
    if ((path->value_type == string_value || path->value_type == identifier_value) &&
        word->value_type == identifier_value)
        m = find_mode(f, word->u.text);
    if (!m) return release(v);
    ::rtopipe *p = nullptr;
    if (path->value_type == string_value) {
        if (FILE *file = std::fopen(path->u.text, m->text))
            p = make_pipe(file, path->u.text, m->binary);
        else
            report_list_failure(f, path->u.text, m->word, std::strerror(errno));
    } else {
        rtocase *it = m->text[0] == 'r' ? rtocase_existing(path->u.text) : rtocase_newfile(path->u.text);
        if (it)
            p = open_variants(it, m->text, m->binary);
        else
            zarn::rtopipe::report(msg::kNoMemory);
        rtocase_destroy(it);
    }
    become_pipe(v, p);
}

void open_file(value_t *v, const Flavour &f) {
    if (!check(v && value_okay(v), msg::kBadArgument, f.fn, __LINE__)) return;
    switch (v->value_type) {
        case list_value:
            if (gl_length(v->u.list) == 2) return open_from_list(v, f);
            break;
        case string_value:
            if (FILE *file = std::fopen(v->u.text, f.single_mode))
                return become_pipe(v, make_pipe(file, v->u.text, f.binary));
            zarn::rtopipe::report(msg::kOpenFileFor, v->u.text, "WRITE", std::strerror(errno));
            if (f.binary) return;  // the binary form keeps its STRING
            break;
        case identifier_value: {
            rtocase *it = rtocase_newfile(v->u.text);
            ::rtopipe *p = nullptr;
            if (it)
                p = open_variants(it, f.single_mode, f.binary);
            else
                zarn::rtopipe::report(msg::kNoMemory);
            rtocase_destroy(it);
            return become_pipe(v, p);
        }
        default:
            if (f.binary) return;  // other kinds are left as they are
            break;
    }
    release(v);
}

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

void value_openfile(value_t *v) { open_file(v, kOpenFile); }

int value_close_all_files_opened_by_rtvalue(void) { return zarn::rtopipe::close_file_streams(); }

void value_openbinary(value_t *v) { open_file(v, kOpenBinary); }

void value_opentee(value_t *v) {
    if (!check(v && value_okay(v), msg::kBadArgument, "value_opentee", __LINE__)) return;
    if (v->value_type != list_value) return release(v);
    for (const gl_node_t *n = v->u.list->head; n; n = n->next)
        if (static_cast<const value_t *>(n->data)->value_type != pipe_value) return release(v);
    gl_list_t *pipes = gl_create();
    if (!pipes) return release(v);
    for (gl_node_t *n = v->u.list->head; n; n = n->next) {
        auto *item = static_cast<value_t *>(n->data);
        const uint32_t before = gl_length(pipes);
        gl_addtoend(pipes, item->u.pipe);
        if (gl_length(pipes) != before) clear(item);  // the reference moved
    }
    ::rtopipe *tee = gl_length(pipes) == gl_length(v->u.list) ? rtopipe_create_tee(pipes) : nullptr;
    if (!tee) {
        for (gl_node_t *n = pipes->head; n; n = n->next) rtodestroy(static_cast<::rtopipe *>(n->data));
        gl_destroylist(pipes);
    }
    become_pipe(v, tee);
}

void value_existfile(value_t *v, IValueContext *ctx) {
    if (!check(v && value_okay(v), msg::kBadArgument, "value_existfile", __LINE__)) return;
    bool exists = false;
    if (v->value_type == string_value) {
        if (FILE *f = std::fopen(v->u.text, "r")) {
            std::fclose(f);
            exists = true;
        } else {
            zarn::rtopipe::report(msg::kNoFile, v->u.text);
        }
    }
    value_t answer;
    clear(&answer);
    answer.value_type = logical_value;
    answer.u.logical = exists;
    value_coerce(&answer, v, logical_value, ctx);
}

void value_devinfo(value_t *v, IValueContext *ctx) {
    if (!check(v && value_okay(v), msg::kBadArgument, "value_devinfo", __LINE__)) return;
    value_coerce(v, v, pipe_value, ctx);
    if (v->value_type != pipe_value) return release(v);  // a list gives its STRING form: not a pipe
    const char *desc = rtodesc(v->u.pipe);
    char *copy = zarn::xstrdup(desc ? desc : "");
    release(v);
    if (!copy) return out_of_memory("value_devinfo");
    v->value_type = string_value;
    v->u.text = copy;
}

}  // extern "C"
