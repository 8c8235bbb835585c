// The equation, parameter and port records of the query engines: names,
// kinds and words from the catalogue; loading through the host's block (or
// container); values of the command language and their VARIANT forms.
#include <cstring>
#include <utility>

#include "attrcat/attrcat.h"
#include "platform/zassert.h"
#include "qdlvarquery/qdlquery_internal.h"
#include "zarnutils/gllist.h"

namespace ac = zarn::attrcat;
namespace qv = zarn::qdlvarquery;

namespace {

// One record's attribute table and name vocabulary.
struct Table {
    const ac::RecordAttribute *rows;
    int count;
    const ac::Vocabulary &names;

    const ac::RecordAttribute *of(int32_t id) const { return qv::record_attribute(rows, count, id); }
    const char *Name(int32_t id) const {
        const ac::RecordAttribute *a = of(id);
        return a != nullptr ? a->name : nullptr;
    }
    int Kind(int32_t id) const {
        const ac::RecordAttribute *a = of(id);
        ZARN_ASSERT(a != nullptr, qv::msg::kAssertBadId, qv::msg::kSource);
        return a != nullptr ? qv::kind_letter(a->kind) : QDL_KIND_NONE;
    }
    const char *Word(int32_t id, int32_t code) const {
        const ac::RecordAttribute *a = of(id);
        return a != nullptr && a->words != nullptr ? ac::word_of(*a->words, code) : nullptr;
    }
    bool Code(int32_t id, const char *word, int32_t &code) const {
        const ac::RecordAttribute *a = of(id);
        return a != nullptr && qv::word_code(a->words, word, code);
    }
};

const Table kEquations{ac::kEquationRecord, static_cast<int>(std::size(ac::kEquationRecord)),
                       ac::kEquationRecordWords};
const Table kParameters{ac::kParameterRecord, static_cast<int>(std::size(ac::kParameterRecord)),
                        ac::kParameterRecordWords};
const Table kPorts{ac::kPortRecord, static_cast<int>(std::size(ac::kPortRecord)), ac::kPortRecordWords};

// Asks the block, or without one the container; false without either.
template <class F>
bool ask_host(QDLEOCntr *container, QDLEOBlock *block, F f) {
    if (block != nullptr) return f(*block);
    if (container != nullptr) return f(*container);
    return false;
}

bool held(const rtvarmask_t &loaded, int32_t id) { return qv::mask_has(loaded, id); }

// The text of an owned string, when the record holds it.
bool held_text(const rtvarmask_t &loaded, int32_t id, const QDLString &s, const char *&out) {
    if (!held(loaded, id) || s.IsNull()) return false;
    out = s;
    return true;
}

bool set_text(QDLString &s, const char *text) { return text != nullptr && s.Copy(text, 0); }

// ---- UTF-8 and UTF-16 ----

// The UTF-16 form of a UTF-8 text (a byte that starts no valid sequence
// becomes U+FFFD); NULL when memory is short.
BSTR to_bstr(const char *text) {
    const size_t n = std::strlen(text);
    if (n > 0x3FFFFFF0u / 2) return nullptr;
    auto *units = static_cast<OLECHAR *>(zarn::xmalloc((2 * n + 1) * sizeof(OLECHAR)));
    if (units == nullptr) return nullptr;
    ULONG out = 0;
    const auto *s = reinterpret_cast<const unsigned char *>(text);
    for (size_t i = 0; i < n;) {
        uint32_t c = s[i];
        int extra = c < 0x80             ? 0
                    : (c & 0xE0) == 0xC0 ? 1
                    : (c & 0xF0) == 0xE0 ? 2
                    : (c & 0xF8) == 0xF0 ? 3
                                         : -1;
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) < n;
        if (ok && extra > 0) {
            c &= 0x3Fu >> extra;
            for (int k = 1; k <= extra; ++k) {
                if ((s[i + k] & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                c = (c << 6) | (s[i + k] & 0x3Fu);
            }
            const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
            if (ok && (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
        }
        if (!ok) {
            units[out++] = 0xFFFD;
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            units[out++] = static_cast<OLECHAR>(0xD800 + (c >> 10));
            units[out++] = static_cast<OLECHAR>(0xDC00 + (c & 0x3FF));
        } else {
            units[out++] = static_cast<OLECHAR>(c);
        }
    }
    BSTR b = SysAllocStringLen(units, out);
    std::free(units);
    return b;
}

// The UTF-8 form of a BSTR (a lone surrogate becomes U+FFFD); a malloc'd
// text, NULL when memory is short.
char *from_bstr(BSTR b) {
    const ULONG n = SysStringLen(b);
    auto *text = static_cast<char *>(zarn::xmalloc(static_cast<size_t>(n) * 3 + 1));
    if (text == nullptr) return nullptr;
    size_t out = 0;
    for (ULONG i = 0; i < n; ++i) {
        uint32_t c = b[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && b[i + 1] >= 0xDC00 && b[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (b[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            text[out++] = static_cast<char>(c);
        } else if (c < 0x800) {
            text[out++] = static_cast<char>(0xC0 | (c >> 6));
            text[out++] = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text[out++] = static_cast<char>(0xE0 | (c >> 12));
            text[out++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text[out++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text[out++] = static_cast<char>(0xF0 | (c >> 18));
            text[out++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text[out++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text[out++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    text[out] = '\0';
    return text;
}

bool is_text(const value_t &v) {
    return v.value_type == string_value || v.value_type == identifier_value || v.value_type == regexp_value ||
           v.value_type == glob_value;
}

// A VARIANT of a value; false (out untouched) for a kind without one or
// when memory is short.
bool value_to_variant(const value_t &v, VARIANT &out) {
    VARIANT r;
    VariantInit(&r);
    switch (v.value_type) {
        case undefined_value:
            break;
        case number_value:
            if (v.u.number.undefined != 0) break;
            if (v.u.number.is_int != 0) {
                r.vt = VT_I4;
                r.lVal = v.u.number.ival;
            } else {
                r.vt = VT_R8;
                r.dblVal = v.u.number.rval;
            }
            break;
        case logical_value:
            r.vt = VT_BOOL;
            r.boolVal = v.u.logical != 0 ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case string_value:
        case identifier_value:
        case regexp_value:
        case glob_value:
            r.bstrVal = to_bstr(v.u.text);
            if (r.bstrVal == nullptr) return false;
            r.vt = VT_BSTR;
            break;
        case list_value: {
            const uint32_t n = gl_length(v.u.list);
            for (const gl_node_t *node = v.u.list->head; node != nullptr; node = node->next)
                if (!is_text(*static_cast<const value_t *>(node->data))) return false;
            SAFEARRAY *a = SafeArrayCreateVector(VT_BSTR, 0, n);
            if (a == nullptr) return false;
            BSTR *items = static_cast<BSTR *>(a->pvData);
            int32_t k = 0;
            for (const gl_node_t *node = v.u.list->head; node != nullptr; node = node->next, ++k) {
                items[k] = to_bstr(static_cast<const value_t *>(node->data)->u.text);
                if (items[k] == nullptr) {
                    SafeArrayDestroy(a);
                    return false;
                }
            }
            r.vt = VT_ARRAY | VT_BSTR;
            r.parray = a;
            break;
        }
        default:
            return false;
    }
    VariantClear(&out);
    out = r;
    return true;
}

// The value of a VARIANT into out (valid); false, out untouched, for a type
// without one or when memory is short.
bool variant_to_value(const VARIANT &v, value_t &out) {
    value_t r;
    value_init(&r);
    if (v.vt == VT_EMPTY) {
    } else if (v.vt == VT_I4) {
        value_assign_int(&r, v.lVal);
    } else if (v.vt == VT_R8) {
        value_assign_double(&r, v.dblVal, 0, 0);
    } else if (v.vt == VT_BOOL) {
        value_assign_logical(&r, v.boolVal != 0);
    } else if (v.vt == VT_BSTR) {
        char *text = from_bstr(v.bstrVal);
        if (text == nullptr) return false;
        value_assign_string(&r, text);
    } else if (v.vt == (VT_ARRAY | VT_BSTR) && v.parray != nullptr && v.parray->cDims == 1 &&
               (v.parray->fFeatures & FADF_BSTR) != 0 &&
               (v.parray->rgsabound[0].cElements == 0 || v.parray->pvData != nullptr)) {
        gl_list_t *list = gl_create();
        if (list == nullptr) return false;
        const BSTR *items = static_cast<const BSTR *>(v.parray->pvData);
        for (ULONG k = 0; k < v.parray->rgsabound[0].cElements; ++k) {
            value_t *item = static_cast<value_t *>(zarn::xcalloc(1, sizeof(value_t)));
            char *text = item != nullptr ? from_bstr(items[k]) : nullptr;
            const uint32_t before = gl_length(list);
            if (text != nullptr) {
                item->value_type = string_value;
                item->u.text = text;
                gl_addtoend(list, item);
            }
            if (text == nullptr || gl_length(list) == before) {
                value_destroy_list_item(item);
                gl_destroy(list, value_destroy_list_item);
                return false;
            }
        }
        value_assign_list(&r, list);
    } else {
        return false;
    }
    value_destroy(&out);
    out = r;
    return true;
}

// dst becomes a copy of src, made aside first; false, with dst as it was,
// when memory is short.
bool copy_value(const value_t &src, value_t &dst) {
    value_t copy;
    value_init(&copy);
    value_copy(&src, &copy);
    if (copy.value_type != src.value_type) return false;
    value_destroy(&dst);
    dst = copy;
    return true;
}

}  // namespace

// ---- equations ----

QDLEquationData::QDLEquationData()
    : mask{0u, 0u}, loaded{0u, 0u}, number(0), value(0.0), scale(0.0), shadow_price(0.0) {}

const char *QDLEquationData::AttribName(int32_t id) { return kEquations.Name(id); }
int32_t QDLEquationData::AttribId(const char *name) { return qv::record_id(kEquations.names, name); }
int QDLEquationData::BaseType(int32_t id) { return kEquations.Kind(id); }
const char *QDLEquationData::EnumToString(int32_t id, int32_t code) { return kEquations.Word(id, code); }
bool QDLEquationData::StringToEnum(int32_t id, const char *word, int32_t &code) {
    return kEquations.Code(id, word, code);
}

bool QDLEquationData::GetValue(int32_t id, int32_t &out) const {
    if (id != NUMBER || !held(loaded, id)) return false;
    out = number;
    return true;
}

bool QDLEquationData::GetValue(int32_t id, double &out) const {
    if (!held(loaded, id)) return false;
    switch (id) {
        case VALUE:
            out = value;
            return true;
        case SCALE:
            out = scale;
            return true;
        case SHADOW_PRICE:
            out = shadow_price;
            return true;
        default:
            return false;
    }
}

bool QDLEquationData::GetValue(int32_t id, const char *&out) const {
    return id == NAME && held_text(loaded, id, name, out);
}

bool QDLEquationData::GetValue(int32_t id, value_t &out) const {
    if (!value_okay(&out)) return false;
    double x = 0.0;
    int32_t i = 0;
    const char *text = nullptr;
    if (GetValue(id, x)) return value_assign_double(&out, x, 0, 0) != 0;
    if (GetValue(id, i)) {
        value_assign_int(&out, i);
        return true;
    }
    return GetValue(id, text) && value_assign_copy_of_string(&out, text) != nullptr;
}

bool QDLEquationData::SetValue(int32_t id, int32_t v) {
    if (id != NUMBER) return false;
    number = v;
    qv::mask_add(loaded, id);
    return true;
}

bool QDLEquationData::SetValue(int32_t id, double v) {
    switch (id) {
        case VALUE:
            value = v;
            break;
        case SCALE:
            scale = v;
            break;
        case SHADOW_PRICE:
            shadow_price = v;
            break;
        default:
            return false;
    }
    qv::mask_add(loaded, id);
    return true;
}

bool QDLEquationData::SetValue(int32_t id, const char *v) {
    if (id != NAME || !set_text(name, v)) return false;
    qv::mask_add(loaded, id);
    return true;
}

bool QDLEquationData::Load(QDLEOCntr *container, QDLEOBlock *block, int32_t n, bool) {
    loaded = {0u, 0u};
    number = n;
    qv::mask_add(loaded, NUMBER);
    return ask_host(container, block, [&](auto &host) { return host.LoadEquation(n, this); });
}

bool QDLEquationData::Commit(QDLEOCntr *container, QDLEOBlock *block, int32_t n) const {
    return ask_host(container, block, [&](auto &host) { return host.CommitEquation(n, this); });
}

// ---- parameters ----

QDLParameterData::QDLParameterData() : mask{0u, 0u}, loaded{0u, 0u}, number(0), access(0), type(0) {
    value_init(&value);
    value_init(&lower);
    value_init(&upper);
}

QDLParameterData::QDLParameterData(const QDLParameterData &other)
    : mask(other.mask),
      loaded(other.loaded),
      number(other.number),
      name(other.name),
      uom(other.uom),
      description(other.description),
      physical_type(other.physical_type),
      access(other.access),
      type(other.type) {
    value_init(&value);
    value_init(&lower);
    value_init(&upper);
    // A value that cannot be copied for memory is not held.
    for (int32_t id : {VALUE, LOWER, UPPER})
        if (!copy_value(*other.Slot(id), *Slot(id))) loaded.mask1 &= ~static_cast<uint32_t>(id);
}

QDLParameterData &QDLParameterData::operator=(const QDLParameterData &other) {
    if (this == &other) return *this;
    mask = other.mask;
    loaded = other.loaded;
    number = other.number;
    // A text or value that cannot be copied for memory is no longer claimed as held.
    const std::pair<QDLString QDLParameterData::*, int32_t> texts[] = {
        {&QDLParameterData::name, NAME},
        {&QDLParameterData::uom, UOM},
        {&QDLParameterData::description, DESCRIPTION},
        {&QDLParameterData::physical_type, PHYSICALTYPE}};
    for (const auto &[text, id] : texts)
        if (!(this->*text).CopyContentsFrom(other.*text)) {
            (this->*text).Clear();
            loaded.mask1 &= ~static_cast<uint32_t>(id);
        }
    access = other.access;
    type = other.type;
    for (int32_t id : {VALUE, LOWER, UPPER})
        if (!copy_value(*other.Slot(id), *Slot(id))) loaded.mask1 &= ~static_cast<uint32_t>(id);
    return *this;
}

QDLParameterData::~QDLParameterData() {
    value_destroy(&value);
    value_destroy(&lower);
    value_destroy(&upper);
}

const char *QDLParameterData::AttribName(int32_t id) { return kParameters.Name(id); }
int32_t QDLParameterData::AttribId(const char *name) { return qv::record_id(kParameters.names, name); }
int QDLParameterData::BaseType(int32_t id) { return kParameters.Kind(id); }
const char *QDLParameterData::EnumToString(int32_t id, int32_t code) { return kParameters.Word(id, code); }
bool QDLParameterData::StringToEnum(int32_t id, const char *word, int32_t &code) {
    return kParameters.Code(id, word, code);
}

value_t *QDLParameterData::Slot(int32_t id) {
    return id == VALUE ? &value : id == LOWER ? &lower : id == UPPER ? &upper : nullptr;
}

const value_t *QDLParameterData::Slot(int32_t id) const {
    return const_cast<QDLParameterData *>(this)->Slot(id);
}

bool QDLParameterData::GetValue(int32_t id, int32_t &out) const {
    if (!held(loaded, id) || (id != ACCESS && id != TYPE)) return false;
    out = id == ACCESS ? access : type;
    return true;
}

bool QDLParameterData::GetValue(int32_t, double &) const { return false; }

bool QDLParameterData::GetValue(int32_t id, const char *&out) const {
    switch (id) {
        case NAME:
            return held_text(loaded, id, name, out);
        case UOM:
            return held_text(loaded, id, uom, out);
        case DESCRIPTION:
            return held_text(loaded, id, description, out);
        case PHYSICALTYPE:
            return held_text(loaded, id, physical_type, out);
        default:
            return false;
    }
}

bool QDLParameterData::GetValue(int32_t id, value_t &out) const {
    if (!value_okay(&out)) return false;
    if (const value_t *slot = Slot(id); slot != nullptr) {
        return held(loaded, id) && copy_value(*slot, out);
    }
    int32_t code = 0;
    if (GetValue(id, code)) {
        const char *word = EnumToString(id, code);
        if (word != nullptr) return value_assign_copy_of_string(&out, word) != nullptr;
        value_assign_int(&out, code);
        return true;
    }
    const char *text = nullptr;
    return GetValue(id, text) && value_assign_copy_of_string(&out, text) != nullptr;
}

bool QDLParameterData::GetValue(int32_t id, VARIANT &out) const {
    if (const value_t *slot = Slot(id); slot != nullptr)
        return held(loaded, id) && value_to_variant(*slot, out);
    int32_t code = 0;
    if (GetValue(id, code)) {
        VariantClear(&out);
        out.vt = VT_I4;
        out.lVal = code;
        return true;
    }
    const char *text = nullptr;
    if (!GetValue(id, text)) return false;
    BSTR b = to_bstr(text);
    if (b == nullptr) return false;
    VariantClear(&out);
    out.vt = VT_BSTR;
    out.bstrVal = b;
    return true;
}

bool QDLParameterData::SetValue(int32_t id, int32_t v) {
    if ((id != ACCESS && id != TYPE) || EnumToString(id, v) == nullptr) return false;
    (id == ACCESS ? access : type) = v;
    qv::mask_add(loaded, id);
    return true;
}

bool QDLParameterData::SetValue(int32_t id, const char *v) {
    QDLString *s = id == NAME           ? &name
                   : id == UOM          ? &uom
                   : id == DESCRIPTION  ? &description
                   : id == PHYSICALTYPE ? &physical_type
                                        : nullptr;
    if (s == nullptr || !set_text(*s, v)) return false;
    qv::mask_add(loaded, id);
    return true;
}

bool QDLParameterData::SetValue(int32_t id, const value_t &v) {
    value_t *slot = Slot(id);
    if (slot == nullptr || !value_okay(&v)) return false;
    value_t copy;
    value_init(&copy);
    value_copy(&v, &copy);
    if (copy.value_type != v.value_type) return false;
    value_destroy(slot);
    *slot = copy;
    qv::mask_add(loaded, id);
    return true;
}

bool QDLParameterData::SetValue(int32_t id, const VARIANT &v) {
    value_t *slot = Slot(id);
    if (slot == nullptr || !variant_to_value(v, *slot)) return false;
    qv::mask_add(loaded, id);
    return true;
}

bool QDLParameterData::IsModified(QDLEOCntr *container, QDLEOBlock *block, int32_t attribute) const {
    return ask_host(container, block, [&](auto &host) { return host.ParameterModified(number, attribute); });
}

bool QDLParameterData::Load(QDLEOCntr *container, QDLEOBlock *block, int32_t n, bool) {
    loaded = {0u, 0u};
    number = n;
    return ask_host(container, block, [&](auto &host) { return host.LoadParameter(n, this); });
}

bool QDLParameterData::Commit(QDLEOCntr *container, QDLEOBlock *block, int32_t n) const {
    return ask_host(container, block, [&](auto &host) { return host.CommitParameter(n, this); });
}

// ---- ports ----

QDLPortData::QDLPortData()
    : mask{0u, 0u},
      loaded{0u, 0u},
      number(0),
      type(0),
      direction(0),
      basis(0),
      phase(0),
      special_ordered_set(0) {}

const char *QDLPortData::AttribName(int32_t id) { return kPorts.Name(id); }
int32_t QDLPortData::AttribId(const char *name) { return qv::record_id(kPorts.names, name); }
int QDLPortData::BaseType(int32_t id) { return kPorts.Kind(id); }
const char *QDLPortData::EnumToString(int32_t id, int32_t code) { return kPorts.Word(id, code); }
bool QDLPortData::StringToEnum(int32_t id, const char *word, int32_t &code) {
    return kPorts.Code(id, word, code);
}

bool QDLPortData::GetValue(int32_t id, int32_t &out) const {
    if (!held(loaded, id)) return false;
    switch (id) {
        case TYPE:
            out = type;
            return true;
        case DIRECTION:
            out = direction;
            return true;
        case BASIS:
            out = basis;
            return true;
        case PHASE:
            out = phase;
            return true;
        case SPECIAL_ORDERED_SET:
            out = special_ordered_set;
            return true;
        default:
            return false;
    }
}

bool QDLPortData::GetValue(int32_t, double &) const { return false; }

bool QDLPortData::GetValue(int32_t id, const char *&out) const {
    if (id == NAME) return held_text(loaded, id, name, out);
    if (id == STREAM) return held_text(loaded, id, stream, out);
    return false;
}

bool QDLPortData::GetValue(int32_t id, value_t &out) const {
    if (!value_okay(&out)) return false;
    int32_t code = 0;
    if (GetValue(id, code)) {
        const char *word = EnumToString(id, code);
        if (word != nullptr) return value_assign_copy_of_string(&out, word) != nullptr;
        value_assign_int(&out, code);
        return true;
    }
    const char *text = nullptr;
    return GetValue(id, text) && value_assign_copy_of_string(&out, text) != nullptr;
}

bool QDLPortData::Load(QDLEOCntr *container, QDLEOBlock *block, int32_t n, bool) {
    qdl_port *port = block != nullptr ? block->Port(n) : container != nullptr ? container->Port(n) : nullptr;
    if (port == nullptr) return false;
    loaded = {0u, 0u};
    number = n;
    auto text = [&](int32_t id, QDLString &s, const char *from) {
        if (from != nullptr && s.Copy(from, 0)) qv::mask_add(loaded, id);
    };
    auto code = [&](int32_t id, int32_t &field, int32_t from) {
        field = from;
        qv::mask_add(loaded, id);
    };
    if (qv::mask_has(mask, NAME)) text(NAME, name, port->Name());
    if (qv::mask_has(mask, STREAM)) text(STREAM, stream, port->Stream());
    if (qv::mask_has(mask, TYPE)) code(TYPE, type, port->Type());
    if (qv::mask_has(mask, DIRECTION)) code(DIRECTION, direction, port->Direction());
    if (qv::mask_has(mask, BASIS)) code(BASIS, basis, port->Basis());
    if (qv::mask_has(mask, PHASE)) code(PHASE, phase, port->Phase());
    if (qv::mask_has(mask, SPECIAL_ORDERED_SET))
        code(SPECIAL_ORDERED_SET, special_ordered_set, port->SpecialOrderedSet());
    return true;
}
