// Parameter references inside model names: "&NAME" and "&<any name>" are
// replaced by the parameter's value as upper-case text.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtvalue/rtvalue_internal.h"
#include "zarnutils/stred.h"

namespace zarn::rtvalue {
namespace {

constexpr std::size_t kBuffer = 1024;  // characters kept; the rest is cut

struct Expansion {
    char out[kBuffer + 1] = {};
    std::size_t len = 0;

    bool full() const { return len >= kBuffer; }
    void add(const char *s, std::size_t n) {
        const std::size_t room = kBuffer - len;
        if (n > room) n = room;
        std::memcpy(out + len, s, n);
        len += n;
        out[len] = '\0';
    }
};

bool name_char(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; }

// Appends the value of parameter name; false when it has no text form.
bool append_value(Expansion &e, const char *name, IValueContext *ctx) {
    value_t v;
    clear(&v);
    if (ctx)
        ctx->ParameterValue(name, &v);
    else
        global_parameter(name, &v);  // without a host, the process's own parameters
    if (!value_okay(&v)) clear(&v);  // not a value: taken as nothing
    if (v.value_type == undefined_value) return true;
    // A list's text is a structure, not a name part.
    bool ok = v.value_type != list_value;
    if (ok) {
        value_toupper(&v, nullptr);
        ok = v.value_type == string_value;
        if (ok) e.add(v.u.text, std::strlen(v.u.text));
    }
    release(&v);
    return ok;
}

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" char *rtidex_expand_params(const char *text, IValueContext *ctx) {
    if (!text) return nullptr;
    const char *amp = std::strchr(text, '&');
    if (!amp) return zarn::xstrdup(text);
    Expansion e;
    const char *p = text;
    bool failed = false;
    while (amp && !failed && !e.full()) {
        e.add(p, static_cast<std::size_t>(amp - p));
        const char *start = amp + 1, *end;
        bool bracketed = *start == '<';
        if (bracketed) {
            ++start;
            end = std::strchr(start, '>');
            if (!end) {
                failed = true;
                break;
            }
        } else {
            end = start;
            while (name_char(*end)) ++end;
        }
        char name[kBuffer + 1] = "";
        const std::size_t n = static_cast<std::size_t>(end - start);
        if (n <= kBuffer) {  // a longer name is taken as empty
            std::memcpy(name, start, n);
            name[n] = '\0';
        }
        failed = !append_value(e, name, ctx);
        p = bracketed ? end + 1 : end;
        amp = std::strchr(p, '&');
    }
    if (failed) return nullptr;
    if (!e.full()) e.add(p, std::strlen(p));
    if (!stred_rtopt_name(e.out)) return nullptr;
    char *result = zarn::xstrdup(e.out);
    if (!result) out_of_memory("rtidex_expand_params");
    return result;
}
