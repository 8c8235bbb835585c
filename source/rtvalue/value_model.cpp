// Value functions that ask the host's model, through the evaluation context,
// for lists of names; and the names query ("name=A or name=B") they send.
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"

namespace zarn::rtvalue {
namespace {

// A LIST of fresh IDENTIFIERs built aside: v is replaced only by a whole list.
struct NameList {
    gl_list_t *list = gl_create();
    bool ok = list != nullptr;
    NameList() = default;
    NameList(const NameList &) = delete;
    NameList &operator=(const NameList &) = delete;
    ~NameList() { gl_destroy(list, value_destroy_list_item); }

    void add(const char *name) {
        if (!ok) return;
        auto *item = static_cast<value_t *>(zarn::xcalloc(1, sizeof(value_t)));
        char *text = item ? zarn::xstrdup(name) : nullptr;
        const uint32_t before = gl_length(list);
        if (text) {
            item->value_type = identifier_value;
            item->u.text = text;
            gl_addtoend(list, item);
        }
        if (!text || gl_length(list) == before) {
            value_destroy_list_item(item);
            ok = false;
        }
    }
    void add(const QDLStringVector &names) {
        for (const std::string &s : names.names) add(s.c_str());
    }
    // The name of variable index, when the source knows it.
    void add(QDLVariableSource *source, int32_t index) {
        QDLVariableData record;
        record.name[0] = '\0';
        if (!source->Load(index, &record, true)) return;
        record.name[sizeof record.name - 1] = '\0';
        add(record.name);
    }
    // v becomes the list; v is left as it was after the memory message.
    void give(value_t *v, const char *fn) {
        if (!ok) return out_of_memory(fn);
        release(v);
        v->value_type = list_value;
        v->u.list = list;
        list = nullptr;
    }
};

// Fills a list through the host and gives it to v. An exception the host
// throws ends the filling; it never crosses the library's C interface.
template <class Fill>
void answer(value_t *v, const char *fn, Fill fill) {
    NameList names;
    try {
        fill(names);
    } catch (...) {
    }
    names.give(v, fn);
}

bool argument_ok(value_t *v, const char *fn, int line) {
    return check(v && value_okay(v), msg::kBadArgument, fn, line);
}

// v's text as kind (coerced into out); false when v does not give that kind.
bool text_as(const value_t &v, value_t *out, int kind, IValueContext *ctx) {
    if (coerce_to(v, out, kind, ctx)) return true;
    release(out);
    return false;
}

using ByVar = bool (IValueContext::*)(const char *, QDLStringVector *);
using Listing = bool (IValueContext::*)(QDLStringVector *);

void by_var(value_t *v, IValueContext *ctx, ByVar op, const char *fn, int line) {
    if (!argument_ok(v, fn, line)) return;
    char *query = nullptr;
    size_t at = 0, room = 0;
    value_build_names_query(v, &query, &at, &room);
    answer(v, fn, [&](NameList &names) {
        QDLStringVector found;
        if (ctx && (ctx->*op)(query ? query : msg::kQueryAll, &found)) names.add(found);
    });
    std::free(query);
}

void listing(value_t *v, IValueContext *ctx, Listing op, const char *fn, int line) {
    if (!argument_ok(v, fn, line)) return;
    answer(v, fn, [&](NameList &names) {
        QDLStringVector found;
        if (ctx && (ctx->*op)(&found)) names.add(found);
    });
}

// Query text under construction, grown as documented for callers who keep it.
struct Query {
    char *&text;
    size_t &at, &room;
};

bool append_name(Query &q, const char *name) {
    const size_t len = std::strlen(name);
    size_t need = 0, grown = 0;
    if (!zarn::checked_add(len, size_t{10}, &need)) return false;
    if (need - 1 >= q.room - q.at) {
        // twice the room, or more when the name alone outgrows that
        const bool ok = need >= q.room ? zarn::checked_add(need, q.room, &grown)
                                       : zarn::checked_mul(q.room, size_t{2}, &grown);
        char *t = ok ? static_cast<char *>(zarn::xrealloc(q.text, grown)) : nullptr;
        if (!t) {
            out_of_memory("value_build_names_query");
            return false;
        }
        q.text = t;
        q.room = grown;
    }
    char *end = q.text + q.at;
    if (q.at > 0) end = std::strcpy(end, msg::kQueryOr) + std::strlen(msg::kQueryOr);
    end = std::strcpy(end, msg::kQueryName) + std::strlen(msg::kQueryName);
    std::memcpy(end, name, len + 1);
    q.at = static_cast<size_t>(end - q.text) + len;
    return true;
}

// Every name of v, in order; false at the first item with no text form.
bool append_names(const value_t &v, Query &q) {
    switch (v.value_type) {
        case string_value:
        case identifier_value:
        case glob_value:
            return append_name(q, v.u.text);
        case list_value:
            for (const gl_node_t *n = v.u.list->head; n; n = n->next)
                if (!append_names(*static_cast<const value_t *>(n->data), q)) return false;
            return true;
        default: {
            value_t s;
            clear(&s);
            const bool ok = coerce_to(v, &s, string_value, nullptr) && append_name(q, s.u.text);
            release(&s);
            return ok;
        }
    }
}

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

void value_defined(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_defined", __LINE__)) return;
    bool yes = false;
    try {
        yes = v->value_type == identifier_value && ctx && ctx->IsDefined(v->u.text);
    } catch (...) {
    }
    value_assign_logical(v, yes);
}

void value_variables(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_variables", __LINE__)) return;
    value_t id;
    clear(&id);
    if (!text_as(*v, &id, identifier_value, ctx)) return release(v);
    answer(v, "value_variables", [&](NameList &names) {
        QDLBlockRecord block{1, 0};
        if (!ctx || !ctx->BlockVariables(id.u.text, &block)) return;
        QDLVariableSource *source = ctx->Variables();
        if (!source) return;
        for (int64_t i = block.first; i <= block.last && names.ok; ++i)
            names.add(source, static_cast<int32_t>(i));
    });
    release(&id);
}

void value_attributes(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_attributes", __LINE__)) return;
    value_t id;
    clear(&id);
    if (!text_as(*v, &id, identifier_value, ctx)) return release(v);
    answer(v, "value_attributes", [&](NameList &names) {
        QDLStringVector found;
        if (!ctx) return;
        ctx->Attributes(id.u.text, &found);
        names.add(found);
    });
    release(&id);
}

void value_query_variables(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_query_variables", __LINE__)) return;
    value_t text;
    clear(&text);
    const bool ok = text_as(*v, &text, string_value, ctx);
    answer(v, "value_query_variables", [&](NameList &names) {
        QDLVariableSource *source = ok && ctx ? ctx->Variables() : nullptr;
        QDLResultSet *set = source ? source->Query(text.u.text) : nullptr;
        if (!set) return;
        const int32_t n = set->Count();
        for (int32_t i = 0; i < n && names.ok; ++i) names.add(source, set->At(i));
        set->Release();
    });
    release(&text);
}

void value_specgroups_by_var(value_t *v, IValueContext *ctx) {
    by_var(v, ctx, &IValueContext::SpecGroupsByVar, "value_specgroups_by_var", __LINE__);
}
void value_measurements_by_var(value_t *v, IValueContext *ctx) {
    by_var(v, ctx, &IValueContext::MeasurementsByVar, "value_measurements_by_var", __LINE__);
}
void value_connections_by_var(value_t *v, IValueContext *ctx) {
    by_var(v, ctx, &IValueContext::ConnectionsByVar, "value_connections_by_var", __LINE__);
}
void value_aliases_by_var(value_t *v, IValueContext *ctx) {
    by_var(v, ctx, &IValueContext::AliasesByVar, "value_aliases_by_var", __LINE__);
}

void value_active_conn(value_t *v, IValueContext *ctx) {
    listing(v, ctx, &IValueContext::ActiveConnections, "value_active_conn", __LINE__);
}
void value_inactive_conn(value_t *v, IValueContext *ctx) {
    listing(v, ctx, &IValueContext::InactiveConnections, "value_inactive_conn", __LINE__);
}
void value_active_specgroups(value_t *v, IValueContext *ctx) {
    listing(v, ctx, &IValueContext::ActiveSpecGroups, "value_active_specgroups", __LINE__);
}
void value_inactive_specgroups(value_t *v, IValueContext *ctx) {
    listing(v, ctx, &IValueContext::InactiveSpecGroups, "value_inactive_specgroups", __LINE__);
}
void value_active_meas(value_t *v, IValueContext *ctx) {
    listing(v, ctx, &IValueContext::ActiveMeasurements, "value_active_meas", __LINE__);
}
void value_inactive_meas(value_t *v, IValueContext *ctx) {
    listing(v, ctx, &IValueContext::InactiveMeasurements, "value_inactive_meas", __LINE__);
}

int value_build_names_query(const value_t *v, char **text, size_t *position, size_t *capacity) {
    if (!check(v && value_okay(v), msg::kBadArgument, "value_build_names_query", __LINE__)) return 0;
    if (!check(text && position && capacity &&
                   (*text ? *position < *capacity : *capacity == 0 && *position == 0),
               msg::kBadQueryArgs, "value_build_names_query", __LINE__))
        return 0;
    Query q{*text, *position, *capacity};
    if (append_names(*v, q)) return 1;
    std::free(*text);
    *text = nullptr;
    *capacity = 0;
    return 0;
}

void value_destroy_names_query(char *text) { std::free(text); }

}  // extern "C"
