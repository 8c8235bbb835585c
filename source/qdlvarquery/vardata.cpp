// The variable record of the query engines: attribute names, kinds and words
// from the catalogue; loading from and writing to a variable list, with the
// reals brought to SI or to the variable's display unit.
#include <cstring>

#include "attrcat/attrcat.h"
#include "platform/zassert.h"
#include "qdlvarquery/qdlquery_internal.h"
#include "rtuom/uomcatalog.h"
#include "rtvarlst/rtvarlst_held.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/stred.h"
#include "zarnutils/varutl.h"

namespace ac = zarn::attrcat;
namespace qv = zarn::qdlvarquery;
using V = QDLVariableData;

namespace {

constexpr double kUndefined = RTOVARLST_UNDEFINED;

const ac::QueryAttribute *query_attribute(int32_t id) {
    for (const ac::QueryAttribute &q : ac::kQuery)
        if (q.id == id) return &q;
    return nullptr;
}

using qv::Form;
using qv::form_of;
using qv::type_has_units;

// The record's field of a real attribute other than CHANGE.
double *real_field(rtvarinfo_t &r, int32_t id) {
    switch (id) {
        case V::VALUE:
            return &r.value;
        case V::INITIAL:
            return &r.init;
        case V::LOWER:
            return &r.lower;
        case V::UPPER:
            return &r.upper;
        case V::STEP:
            return &r.step;
        case V::INTSCALE:
            return &r.intscale;
        case V::SCALE:
            return &r.scale;
        case V::SBWEIGHT:
            return &r.sbweight;
        case V::SHADOW_PRICE:
            return &r.shadow_price;
        case V::TARGET_HOMO:
            return &r.target_homo;
        case V::THRESHOLD:
            return &r.threshold;
        default:
            return nullptr;
    }
}

// The reals written back by Commit (the list refuses the others).
constexpr int32_t kWritableReals[] = {V::VALUE, V::INITIAL,  V::LOWER,       V::UPPER,    V::STEP,
                                      V::SCALE, V::SBWEIGHT, V::TARGET_HOMO, V::THRESHOLD};

// The attributes the list's record inquiry fills itself (NAME is read apart).
constexpr uint32_t kListFields1 = V::VALUE | V::LOWER | V::UPPER | V::STEP | V::INTSCALE | V::SCALE |
                                  V::SBWEIGHT | V::INITIAL | V::UOM | V::MODIFIED | V::ACTIVE_BOUND |
                                  V::SHADOW_PRICE | V::QUALITY | V::BASEUOM | V::BLOCKPTR | V::PARAM_HOMO |
                                  V::TARGET_HOMO | V::DESCRIPTION | V::VAR_PROFILE | V::THRESHOLD | V::RAMPED;
constexpr uint32_t kListFields2 = 2u | 8u;  // UOM_ID (the display unit), CONN_TYPE

// Attributes read from the status word, and the reals.
constexpr uint32_t kStatusFields1 = V::SPEC | V::MARKED | V::BOUND | V::PHYSICAL_TYPE_ID | V::VARIABLE_TYPE;
constexpr uint32_t kRealFields1 = V::VALUE | V::LOWER | V::UPPER | V::STEP | V::INTSCALE | V::SCALE |
                                  V::SBWEIGHT | V::INITIAL | V::SHADOW_PRICE | V::TARGET_HOMO | V::THRESHOLD |
                                  V::CHANGE;
constexpr uint32_t kPhysicalTypeName2 = 1u;  // PHYSICAL_TYPE (-1)
// The reals that a list keeps in full columns, and every field the columns
// of QDLVariableColumns give (UOM_ID is the UOM column too).
constexpr uint32_t kColumnReals1 =
    V::VALUE | V::INITIAL | V::LOWER | V::UPPER | V::INTSCALE | V::SCALE | V::SHADOW_PRICE;
constexpr uint32_t kColumnFields1 = kColumnReals1 | RTVARINFO_STATUS | V::BASEUOM | V::UOM;
constexpr uint32_t kColumnFields2 = 2u;

// Copies the name of unit u (0: the default) of ptype into out, "" when there is none.
void unit_name(int32_t ptype, int64_t u, char *out, size_t size) {
    out[0] = '\0';
    if (!type_has_units(ptype)) return;
    const int32_t t = ptype < 0 ? -ptype : ptype;
    const int64_t use = u == 0 ? rtouom_get_default(t) : u;
    if (use < 1 || use > rtouom_count[t]) return;
    const char *name = rtouom_uom_name(ptype, static_cast<int>(use));
    if (name == nullptr) return;
    std::strncpy(out, name, size - 1);
    out[size - 1] = '\0';
}

// The word of a connection-type code: a physical type's name or a property's.
const char *conn_word(int32_t code) {
    if (code >= 0 && code < zarn::rtuom::kTypeCount) return zarn::rtuom::kTypeNames[code];
    return ac::word_of(ac::kConnProperty, code);
}

bool conn_code(const char *word, int32_t &code) {
    for (int32_t c = 0; c < zarn::rtuom::kTypeCount; ++c) {
        if (qv::same_text(word, zarn::rtuom::kTypeNames[c])) {
            code = c;
            return true;
        }
    }
    for (int k = 0; k < ac::kConnProperty.count; ++k) {
        if (qv::same_text(word, ac::kConnProperty.written[k].keyword)) {
            code = ac::kConnProperty.written[k].code;
            return true;
        }
    }
    return false;
}

// The query words of an enumeration attribute (CONN_TYPE has its own), or null.
const ac::WordTable *words_of(int32_t id) {
    const ac::QueryAttribute *q = query_attribute(id);
    if (q == nullptr || q->kind != ac::QKind::Enumeration || q->row < 0) return nullptr;
    return ac::kRows[q->row].query_words;
}

// The modification bits an assignment of the attribute sets, else its own bit.
rtvarmask_t modified_bits(int32_t id) {
    const ac::QueryAttribute *q = query_attribute(id);
    rtvarmask_t bits{0u, 0u};
    if (q != nullptr && q->row >= 0) bits = {ac::kRows[q->row].modified1, ac::kRows[q->row].modified2};
    if (bits.mask1 == 0 && bits.mask2 == 0) qv::mask_add(bits, id);
    return bits;
}

// Copies text and its NUL into to (size bytes); false, to unchanged, when
// the text is missing or does not fit.
bool copy_text(char *to, size_t size, const char *text) {
    if (text == nullptr || std::strlen(text) >= size) return false;
    std::memcpy(to, text, std::strlen(text) + 1);
    return true;
}

// The same in one pass, for names the list holds (which always fit): the
// name field is "" when one does not.
void copy_name(char *to, size_t size, const char *text) {
    if (text == nullptr || memccpy(to, text, '\0', size) == nullptr) to[0] = '\0';
}

}  // namespace

// ---- names, kinds and words ----

const char *QDLVariableData::AttribName(int32_t id) {
    const ac::QueryAttribute *q = query_attribute(id);
    return q != nullptr ? q->name : nullptr;
}

int32_t QDLVariableData::AttribId(const char *name) {
    return name != nullptr ? ac::code_of(ac::kQueryWords, name, std::strlen(name), 0) : 0;
}

int QDLVariableData::BaseType(int32_t id) {
    const ac::QueryAttribute *q = query_attribute(id);
    ZARN_ASSERT(q != nullptr, qv::msg::kAssertBadId, qv::msg::kSource);
    return q != nullptr ? qv::kind_letter(q->kind) : QDL_KIND_NONE;
}

const char *QDLVariableData::EnumToString(int32_t id, int32_t code) {
    if (id == CONN_TYPE) return conn_word(code);
    const ac::WordTable *words = words_of(id);
    return words != nullptr ? ac::word_of(*words, code) : nullptr;
}

bool QDLVariableData::StringToEnum(int32_t id, const char *word, int32_t &code) {
    if (word == nullptr) return false;
    if (id == CONN_TYPE) return conn_code(word, code);
    return qv::word_code(words_of(id), word, code);
}

// ---- values ----

bool QDLVariableData::GetValue(int32_t id, int32_t &out) const {
    if (!qv::mask_has(mask, id)) return false;
    switch (id) {
        case SPEC:
            out = spec;
            return true;
        case BOUND:
            out = bound;
            return true;
        case QUALITY:
            out = quality;
            return true;
        case ACTIVE_BOUND:
            out = active_bound;
            return true;
        case PARAM_HOMO:
            out = param_homo;
            return true;
        case VARIABLE_TYPE:
            out = variable_type;
            return true;
        case CONN_TYPE:
            out = conn_type;
            return true;
        case MARKED:
            out = marked;
            return true;
        case RAMPED:
            out = ramped;
            return true;
        case PHYSICAL_TYPE_ID:
            out = physical_type_id;
            return true;
        case UOM_ID:
            out = static_cast<int32_t>(uom);
            return true;
        case NUMBER:
            out = number;
            return true;
        default:
            return false;
    }
}

bool QDLVariableData::GetValue(int32_t id, double &out) const {
    if (!qv::mask_has(mask, id)) return false;
    if (id == CHANGE) {
        out = change;
        return true;
    }
    const double *field = real_field(const_cast<V &>(*this), id);
    if (field == nullptr) return false;
    out = *field;
    return true;
}

bool QDLVariableData::GetValue(int32_t id, const char *&out) const {
    if (!qv::mask_has(mask, id)) return false;
    const char *text = nullptr;
    switch (id) {
        case NAME:
            text = name;
            break;
        case DESCRIPTION:
            text = description;
            break;
        case UOM:
            text = uom_name;
            break;
        case BASEUOM:
            text = baseuom_name;
            break;
        case PHYSICAL_TYPE:
            text = physical_type;
            break;
        case CONN_TYPE:
            text = conn_word(conn_type);
            break;
        default:
            break;
    }
    if (text == nullptr) return false;
    out = text;
    return true;
}

bool QDLVariableData::GetValue(int32_t id, CMask &out) const {
    if (id != MODIFIED || !qv::mask_has(mask, id)) return false;
    out = modified;
    return true;
}

bool QDLVariableData::GetValue(int32_t id, value_t &out) const {
    if (!value_okay(&out)) return false;
    switch (BaseType(id)) {
        case QDL_KIND_REAL: {
            double x = 0.0;
            if (!GetValue(id, x)) return false;
            const Form form = form_of(id);
            const bool shown =
                user_units && (form == Form::Scaled || form == Form::Difference || id == CHANGE);
            const int32_t ptype = shown ? varInqPhysicalType(status) : 0;
            double si = x;
            if (shown && x != kUndefined) {
                double f = 1.0, o = 0.0;
                DisplayFactors(f, o);
                const bool difference = form != Form::Scaled;
                si = f != 0.0 ? (difference ? x / f : (x - o) / f) : x;
            }
            value_assign_double(&out, si, ptype, shown ? static_cast<int>(uom) : 0);
            if (x == kUndefined) out.u.number.undefined = 1;
            return true;
        }
        case QDL_KIND_INTEGER: {
            int32_t i = 0;
            if (!GetValue(id, i)) return false;
            value_assign_int(&out, i);
            return true;
        }
        case QDL_KIND_ENUM: {
            int32_t code = 0;
            if (!GetValue(id, code)) return false;
            const char *word = EnumToString(id, code);
            if (word != nullptr) return value_assign_copy_of_string(&out, word) != nullptr;
            value_assign_int(&out, code);
            return true;
        }
        case QDL_KIND_TEXT: {
            const char *text = nullptr;
            return GetValue(id, text) && value_assign_copy_of_string(&out, text) != nullptr;
        }
        default:
            return false;
    }
}

bool QDLVariableData::SetValue(int32_t id, int32_t v) {
    switch (id) {
        case SPEC:
            if (v < VAR_CALC || v > VAR_INITIAL) return false;
            spec = v;
            varSetSpec(&status, v);
            break;
        case BOUND:
            if (v < VAR_BOUND_HARD || v > VAR_BOUND_SOFT2) return false;
            bound = v;
            varSetBoundType(v, &status);
            break;
        case QUALITY:
            if (EnumToString(QUALITY, v) == nullptr) return false;
            quality = v;
            break;
        case ACTIVE_BOUND:
            if (v < 0 || v > 17) return false;
            active_bound = v;
            break;
        case PARAM_HOMO:
            if (v != 0 && v != 1) return false;
            param_homo = v;
            break;
        case VARIABLE_TYPE:
            if (varTypeId(v) == nullptr) return false;
            variable_type = v;
            varSetType(v, &status);
            break;
        case CONN_TYPE:
            if (v < 0 || v > RTOVARLST_MAX_CONN_TYPE) return false;
            conn_type = v;
            break;
        case MARKED:
            if (v != 0 && v != 1) return false;
            marked = v;
            varSetMarked(static_cast<unsigned char>(v), &status);
            break;
        case RAMPED:
            if (v != 0 && v != 1) return false;
            ramped = static_cast<unsigned char>(v);
            break;
        case PHYSICAL_TYPE_ID:
            if (v < -255 || v > 255) return false;
            physical_type_id = v;
            varSetPhysicalType(&status, v);
            break;
        case UOM_ID:
            if (v < 0) return false;
            uom = v;
            break;
        case NUMBER:
            number = v;
            break;
        default:
            return false;
    }
    qv::mask_add(mask, id);
    return true;
}

bool QDLVariableData::SetValue(int32_t id, double v) {
    double *field = real_field(*this, id);
    if (field == nullptr) return false;
    *field = v;
    qv::mask_add(mask, id);
    return true;
}

bool QDLVariableData::SetValue(int32_t id, const char *v) {
    if (v == nullptr) return false;
    bool ok = false;
    switch (id) {
        case NAME:
            ok = copy_text(name, sizeof name, v);
            break;
        case DESCRIPTION:
            description = v;
            ok = true;
            break;
        case UOM:
            ok = copy_text(uom_name, sizeof uom_name, v);
            break;
        case BASEUOM:
            ok = copy_text(baseuom_name, sizeof baseuom_name, v);
            break;
        case PHYSICAL_TYPE:
            ok = copy_text(physical_type, sizeof physical_type, v);
            break;
        case CONN_TYPE: {
            int32_t code = 0;
            ok = conn_code(v, code);
            if (ok) conn_type = code;
            break;
        }
        default:
            break;
    }
    if (ok) qv::mask_add(mask, id);
    return ok;
}

bool QDLVariableData::SetValue(int32_t id, const CMask &v) {
    if (id != MODIFIED) return false;
    modified = v;
    qv::mask_add(mask, id);
    return true;
}

bool QDLVariableData::IsModified(int32_t id) const {
    if (!qv::mask_has(mask, MODIFIED) || AttribName(id) == nullptr) return false;
    const rtvarmask_t bits = modified_bits(id);
    return (modified.mask1 & bits.mask1) != 0 || (modified.mask2 & bits.mask2) != 0;
}

void QDLVariableData::SetIsModified(int32_t id, bool flag) {
    if (AttribName(id) == nullptr) return;
    const rtvarmask_t bits = modified_bits(id);
    if (flag) {
        modified.mask1 |= bits.mask1;
        modified.mask2 |= bits.mask2;
    } else {
        modified.mask1 &= ~bits.mask1;
        modified.mask2 &= ~bits.mask2;
    }
    qv::mask_add(mask, MODIFIED);
}

bool QDLVariableData::IsFixed() const { return varIsFixed(status) != 0; }

// ---- units ----

namespace zarn::qdlvarquery {

Form form_of(int32_t id) {
    switch (id) {
        case V::VALUE:
        case V::INITIAL:
        case V::LOWER:
        case V::UPPER:
        case V::TARGET_HOMO:
        case V::THRESHOLD:
            return Form::Scaled;
        case V::STEP:
        case V::SCALE:
            return Form::Difference;
        case V::SBWEIGHT:
        case V::INTSCALE:
            return Form::Held;
        case V::SHADOW_PRICE:
            return Form::Si;
        default:
            return Form::None;
    }
}

bool type_has_units(int32_t ptype) {
    const int32_t t = ptype < 0 ? -ptype : ptype;
    return t < RTOUOM_NTYPES && rtouom_table[t] != nullptr && rtouom_count[t] > 0;
}

bool units_convert(int32_t ptype) {
    if (!type_has_units(ptype)) return false;
    const int32_t t = ptype < 0 ? -ptype : ptype;
    for (int32_t u = 0; u < rtouom_count[t]; ++u)
        if (rtouom_table[t][u].multiplier != 1.0 || rtouom_table[t][u].offset != 0.0) return true;
    return false;
}

void display_factors(int32_t p, int64_t uom, QDLVariableData::UnitFactors &cache, double &f, double &o) {
    f = 1.0;
    o = 0.0;
    if (!type_has_units(p)) return;
    const int32_t t = p < 0 ? -p : p;
    const int64_t use = uom == 0 ? rtouom_default_uom[t] : uom;
    if (use < 1 || use > rtouom_count[t]) return;
    const rtouom_entry &e = rtouom_table[t][use - 1];
    if (!cache.known || cache.ptype != p || cache.multiplier != e.multiplier || cache.offset != e.offset) {
        cache.f = rtouom_delta_si2pair(1.0, p, static_cast<int>(use));
        cache.o = rtouom_si2pair(0.0, p, static_cast<int>(use));
        cache.ptype = p;
        cache.multiplier = e.multiplier;
        cache.offset = e.offset;
        cache.known = true;
    }
    f = cache.f;
    o = cache.o;
}

}  // namespace zarn::qdlvarquery

void QDLVariableData::DisplayFactors(double &f, double &o) const {
    qv::display_factors(varInqPhysicalType(status), uom, units_, f, o);
}

double QDLVariableData::ScaleValue(rtvarlst_t *list, int32_t index, int32_t id, double held) const {
    double f = 1.0, o = 0.0;
    if (user_units) DisplayFactors(f, o);
    return qv::shown_real(list, index, id, held, intscale, baseuom, user_units, f, o);
}

double QDLVariableData::UnscaleValue(rtvarlst_t *list, int32_t index, int32_t id, double x) const {
    const Form form = form_of(id);
    if (x == kUndefined || form == Form::Held || form == Form::None) return x;
    if (form == Form::Si)
        return zarn::rtvarlst::si_to_base(list, index, x * zarn::rtvarlst::effective_scale(list, index),
                                          false);
    const bool difference = form == Form::Difference;
    double si = x;
    if (user_units) {
        double f = 1.0, o = 0.0;
        DisplayFactors(f, o);
        if (f != 0.0) si = difference ? x / f : (x - o) / f;
    }
    return zarn::rtvarlst::si_to_base(list, index, si, difference) /
           zarn::rtvarlst::effective_scale(list, index);
}

// ---- loading and writing ----

bool QDLVariableData::Load(rtvarlst_t *list, int32_t index, bool units) {
    if (list == nullptr || index < 1 || index > rtovarlst_inq_nvar(list)) return false;
    return DoLoad(list, index, units, nullptr);
}

bool QDLVariableData::Load(const QDLVariableColumns &columns, int32_t index, bool units) {
    if (columns.list == nullptr || index < 1 || index > columns.count) return false;
    return DoLoad(columns.list, index, units, &columns);
}

bool QDLVariableData::GetColumns(rtvarlst_t *list, QDLVariableColumns &out) {
    out = QDLVariableColumns{};
    if (list == nullptr) return false;
    out.list = list;
    out.count = zarn::rtvarlst::held_items(list);  // a window past its cut head has no cells beyond
    out.status = rtovarlst_vec_status(list);
    out.baseuom = rtovarlst_vec_baseuom(list);
    out.uom = rtovarlst_vec_uom(list);
    out.value = rtovarlst_vec_value(list);
    out.init = rtovarlst_vec_initial(list);
    out.lower = rtovarlst_vec_lower(list);
    out.upper = rtovarlst_vec_upper(list);
    out.intscale = rtovarlst_vec_scale(list);
    out.scale = rtovarlst_vec_solveScale(list);
    out.shadow_price = rtovarlst_vec_shadow_price(list);
    // Loads through columns read every one of them.
    const bool complete = out.status != nullptr && out.baseuom != nullptr && out.uom != nullptr &&
                          out.value != nullptr && out.init != nullptr && out.lower != nullptr &&
                          out.upper != nullptr && out.intscale != nullptr && out.scale != nullptr &&
                          out.shadow_price != nullptr;
    if (!complete) out = QDLVariableColumns{};
    return complete;
}

bool QDLVariableData::Load(QDLEOCntr *container, QDLEOBlock *block, int32_t number, bool units) {
    rtvarlst_t *list = block != nullptr       ? block->VariableList()
                       : container != nullptr ? container->VariableList()
                                              : nullptr;
    return Load(list, number, units);
}

namespace zarn::qdlvarquery {

const double *column_of(const QDLVariableColumns &c, int32_t id) {
    switch (id) {
        case V::VALUE:
            return c.value;
        case V::INITIAL:
            return c.init;
        case V::LOWER:
            return c.lower;
        case V::UPPER:
            return c.upper;
        case V::INTSCALE:
            return c.intscale;
        case V::SCALE:
            return c.scale;
        case V::SHADOW_PRICE:
            return c.shadow_price;
        default:
            return nullptr;
    }
}

}  // namespace zarn::qdlvarquery

// Takes from the columns the fields of fetch that they hold, and drops those
// from fetch.
void take_columns(rtvarinfo_t &r, const QDLVariableColumns &c, int32_t index, rtvarmask_t &fetch) {
    const size_t k = static_cast<size_t>(index - 1);
    for (uint32_t left = fetch.mask1 & kColumnReals1; left != 0; left &= left - 1) {
        const int32_t id = static_cast<int32_t>(left & (0u - left));
        *real_field(r, id) = qv::column_of(c, id)[k];
    }
    if ((fetch.mask1 & RTVARINFO_STATUS) != 0) r.status = c.status[k];
    if ((fetch.mask1 & V::BASEUOM) != 0) r.baseuom = static_cast<int32_t>(c.baseuom[k]);
    if ((fetch.mask1 & V::UOM) != 0 || (fetch.mask2 & kColumnFields2) != 0)
        r.uom = static_cast<int32_t>(c.uom[k]);
    fetch = {fetch.mask1 & ~kColumnFields1, fetch.mask2 & ~kColumnFields2};
}

bool QDLVariableData::DoLoad(rtvarlst_t *list, int32_t index, bool units, const QDLVariableColumns *columns) {
    const CMask asked = mask;
    const bool reals = (asked.mask1 & kRealFields1) != 0;
    const bool names = (asked.mask1 & (UOM | BASEUOM)) != 0 || (asked.mask2 & kPhysicalTypeName2) != 0;
    CMask fetch{asked.mask1 & kListFields1, asked.mask2 & kListFields2};
    if ((asked.mask1 & kStatusFields1) != 0 || names || reals) fetch.mask1 |= RTVARINFO_STATUS;
    if (reals) fetch.mask1 |= INTSCALE | BASEUOM;
    if (reals && units) fetch.mask1 |= UOM;
    if ((asked.mask1 & CHANGE) != 0) fetch.mask1 |= VALUE | INITIAL;
    const bool status_read = (fetch.mask1 & RTVARINFO_STATUS) != 0;
    if (columns != nullptr) take_columns(*this, *columns, index, fetch);
    if (fetch.mask1 != 0 || fetch.mask2 != 0) {
        mask = fetch;
        rtovarlst_inq_var(list, index, this, 0);
        mask = asked;
    }
    number = index;
    user_units = units;
    if (qv::mask_has(asked, NAME)) {
        const char *stored = rtovarlst_lookup_var_name(list, index);
        copy_name(name, sizeof name, stored);
    }
    if (status_read) {
        physical_type_id = varInqPhysicalType(status);
        if ((asked.mask1 & SPEC) != 0) spec = varInqSpec(status);
        if ((asked.mask1 & MARKED) != 0) marked = varInqMarked(status);
        if ((asked.mask1 & VARIABLE_TYPE) != 0) variable_type = varInqType(status);
        if ((asked.mask1 & BOUND) != 0) {
            int64_t b = 0;
            varInqBoundType(status, &b);
            bound = static_cast<int32_t>(b);
        }
    }
    if (qv::mask_has(asked, PHYSICAL_TYPE)) {
        std::strncpy(physical_type, rtouom_ptype_name(physical_type_id), kTypeNameMax);
        physical_type[kTypeNameMax] = '\0';
    }
    if (qv::mask_has(asked, UOM)) unit_name(physical_type_id, uom, uom_name, sizeof uom_name);
    // A base unit of 0 is the type's default, as the numbers are read; a
    // negative one converts nothing, as SI.
    if (qv::mask_has(asked, BASEUOM))
        unit_name(physical_type_id, baseuom >= 0 ? baseuom : 1, baseuom_name, sizeof baseuom_name);
    if (!reals) return true;
    // One pair of display factors serves every real of the variable.
    double f = 1.0, o = 0.0;
    if (units) qv::display_factors(physical_type_id, uom, units_, f, o);
    if ((asked.mask1 & CHANGE) != 0) {
        const double v = qv::shown_real(list, index, VALUE, value, intscale, baseuom, units, f, o);
        const double i = qv::shown_real(list, index, INITIAL, init, intscale, baseuom, units, f, o);
        change = v == kUndefined || i == kUndefined ? kUndefined : v - i;
    }
    for (uint32_t left = asked.mask1 & kRealFields1 & ~static_cast<uint32_t>(CHANGE); left != 0;
         left &= left - 1) {
        const int32_t id = static_cast<int32_t>(left & (0u - left));
        double *field = real_field(*this, id);
        *field = qv::shown_real(list, index, id, *field, intscale, baseuom, units, f, o);
    }
    return true;
}

bool QDLVariableData::Commit(rtvarlst_t *list, int32_t index) const {
    if (list == nullptr || index < 1 || index > rtovarlst_inq_nvar(list)) return false;
    return DoCommit(list, index);
}

bool QDLVariableData::Commit(QDLEOCntr *container, QDLEOBlock *block, int32_t number) const {
    rtvarlst_t *list = block != nullptr       ? block->VariableList()
                       : container != nullptr ? container->VariableList()
                                              : nullptr;
    return Commit(list, number);
}

bool QDLVariableData::DoCommit(rtvarlst_t *list, int32_t index) const {
    rtvarinfo_t out = *this;
    out.mask = {0u, 0u};
    for (int32_t id : kWritableReals) {
        if (!qv::mask_has(mask, id)) continue;
        double *field = real_field(out, id);
        *field = UnscaleValue(list, index, id, *field);
        qv::mask_add(out.mask, id);
    }
    for (int32_t id : {QUALITY, PARAM_HOMO, RAMPED, DESCRIPTION, MODIFIED, CONN_TYPE, UOM_ID}) {
        if (qv::mask_has(mask, id)) qv::mask_add(out.mask, id);
    }
    if ((mask.mask1 & kStatusFields1) != 0) {
        int64_t word = rtovarlst_inq_var_status(list, index);
        if (qv::mask_has(mask, SPEC)) varSetSpec(&word, spec);
        if (qv::mask_has(mask, BOUND)) varSetBoundType(bound, &word);
        if (qv::mask_has(mask, MARKED)) varSetMarked(static_cast<unsigned char>(marked), &word);
        if (qv::mask_has(mask, VARIABLE_TYPE)) varSetType(variable_type, &word);
        if (qv::mask_has(mask, PHYSICAL_TYPE_ID)) varSetPhysicalType(&word, physical_type_id);
        out.status = word;
        out.mask.mask1 |= RTVARINFO_STATUS;
    }
    rtovarlst_set_var(list, index, &out, 0);
    return true;
}

bool QDLVariableData::Create(rtvarlst_t *list, int32_t index) const {
    if (list == nullptr || index < 1 || index > rtovarlst_inq_nvar(list) || name[0] == '\0') return false;
    rtvarinfo_t out = *this;
    out.mask = {mask.mask1 & (kListFields1 | NAME | RTVARINFO_STATUS), mask.mask2 & kListFields2};
    if ((mask.mask1 & kStatusFields1) != 0) out.mask.mask1 |= RTVARINFO_STATUS;
    rtovarlst_initialize_var(list, index, &out, 1);
    return true;
}
