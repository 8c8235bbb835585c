// The engines' records: setters, loads, commits, modification bits, values as
// VARIANTs and back, copies.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "fake_model.h"
#include "platform/xalloc.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;
using V = QDLVariableData;
using P = QDLParameterData;

namespace {

std::vector<OLECHAR> units_of(BSTR b) { return std::vector<OLECHAR>(b, b + SysStringLen(b)); }

// A variable as its host writes it into the list: codes, texts and the reals
// as stored (in the base unit, divided by the internal scale).
struct HostVariable {
    const char *name, *description;
    int32_t ptype, uom, spec, bound, marked, vtype, quality, active_bound, param_homo, ramped, conn_type;
    double value, init, lower, upper, step, intscale, slvscale, sbweight, shadow, target, threshold;
    uint32_t modified;
    // What a record loaded from it must give for the words and unit names.
    const char *type_word, *uom_word, *base_word, *conn_word;
};

constexpr double kUndefined = 1e35;

// A pressure held in SI and shown in ATM, and an untyped integer variable
// whose internal scale 4 multiplies the quantities it holds (its threshold
// undefined).
// clang-format off
const HostVariable kHost[] = {
    // name, description, ptype, uom, spec, bound, marked, vtype, quality, active_bound, param_homo, ramped,
    // conn_type; value, init, lower, upper, step, intscale, slvscale, sbweight, shadow, target, threshold;
    // modified; the words
    {"B1.P", "feed pressure", 20, 3, VAR_CONST, VAR_BOUND_SOFT, 1, 0, 2, 5, 1, 1, 20,
     2.0e5, 1.5e5, 1.0e5, 5.0e5, 10.0, 1.0, 1.0e5, 0.5, -3.0, 3.0e5, 7.0,
     2u | 4u, "PRESSURE", "ATM", "N/SQM", "PRESSURE"},
    {"B1.N", "", 0, 0, VAR_INDEP, VAR_BOUND_HARD, 0, 3, 0, 17, 0, 0, 2,
     2.5, 1.0, -1.0, 3.0, 0.25, 4.0, 0.5, 3.0, 6.0, 2.0, kUndefined,
     512u, "UNTYPED", "*", "*", "COMPOSITION"},
};
// clang-format on

void write_host(rtvarlst_t *list, int32_t k, const HostVariable &h) {
    rtovarlst_addvar(list, k, h.name);
    if (h.vtype == 3) rtovarlst_set_var_as_integer(list, k);
    int64_t word = rtovarlst_inq_var_status(list, k);
    varSetPhysicalType(&word, h.ptype);
    varSetSpec(&word, h.spec);
    varSetBoundType(h.bound, &word);
    rtovarlst_set_var_status(list, k, word);
    rtovarlst_set_var_marked(list, k, h.marked);
    rtovarlst_set_var_uom(list, k, h.uom);
    rtovarlst_set_var_baseuom(list, k, 1);
    rtovarlst_set_var_quality(list, k, h.quality);
    rtovarlst_set_var_active_bound(list, k, h.active_bound);
    rtovarlst_set_var_param_homo(list, k, h.param_homo);
    rtovarlst_set_var_ramped(list, k, h.ramped);
    rtovarlst_set_var_conn_type(list, k, h.conn_type);
    rtovarlst_set_var_description(list, k, h.description);
    rtovarlst_set_var_modified_mask(list, k, static_cast<int32_t>(h.modified));
    rtovarlst_vec_scale(list)[k - 1] = h.intscale;
    rtovarlst_set_var_value(list, k, h.value, 0);
    rtovarlst_set_var_initial(list, k, h.init, 0);
    rtovarlst_set_var_lower(list, k, h.lower, 0);
    rtovarlst_set_var_upper(list, k, h.upper, 0);
    rtovarlst_set_var_step_inbaseuom(list, k, h.step);
    rtovarlst_set_var_slvscl(list, k, h.slvscale, 0);
    rtovarlst_set_var_sbweight(list, k, h.sbweight);
    rtovarlst_set_var_shadow_price(list, k, h.shadow, 0);
    rtovarlst_set_var_target_homo(list, k, h.target, 0);
    rtovarlst_set_var_threshold(list, k, h.threshold, 0);
}

// A real attribute: the host's stored number, the record's field, and how
// the internal scale brings it back: multiplying (quantities and their
// steps), dividing (a shadow price, held times the scale) or not at all.
struct RealRow {
    const char *name;
    int32_t id;
    double HostVariable::*stored;
    double rtvarinfo_t::*field;
    enum { kTimes, kOver, kAsHeld } scale;
};
const RealRow kReals[] = {
    {"VALUE", V::VALUE, &HostVariable::value, &rtvarinfo_t::value, RealRow::kTimes},
    {"INITIAL", V::INITIAL, &HostVariable::init, &rtvarinfo_t::init, RealRow::kTimes},
    {"LOWER", V::LOWER, &HostVariable::lower, &rtvarinfo_t::lower, RealRow::kTimes},
    {"UPPER", V::UPPER, &HostVariable::upper, &rtvarinfo_t::upper, RealRow::kTimes},
    {"STEP", V::STEP, &HostVariable::step, &rtvarinfo_t::step, RealRow::kTimes},
    {"SCALE", V::SCALE, &HostVariable::slvscale, &rtvarinfo_t::scale, RealRow::kTimes},
    {"TARGET_HOMO", V::TARGET_HOMO, &HostVariable::target, &rtvarinfo_t::target_homo, RealRow::kTimes},
    {"THRESHOLD", V::THRESHOLD, &HostVariable::threshold, &rtvarinfo_t::threshold, RealRow::kTimes},
    {"INTSCALE", V::INTSCALE, &HostVariable::intscale, &rtvarinfo_t::intscale, RealRow::kAsHeld},
    {"SBWEIGHT", V::SBWEIGHT, &HostVariable::sbweight, &rtvarinfo_t::sbweight, RealRow::kAsHeld},
    {"SHADOW_PRICE", V::SHADOW_PRICE, &HostVariable::shadow, &rtvarinfo_t::shadow_price, RealRow::kOver},
};

struct CodeRow {
    const char *name;
    int32_t id;
    int32_t HostVariable::*code;
};
const CodeRow kCodes[] = {
    {"SPEC", V::SPEC, &HostVariable::spec},
    {"BOUND", V::BOUND, &HostVariable::bound},
    {"MARKED", V::MARKED, &HostVariable::marked},
    {"VARIABLE_TYPE", V::VARIABLE_TYPE, &HostVariable::vtype},
    {"PHYSICAL_TYPE_ID", V::PHYSICAL_TYPE_ID, &HostVariable::ptype},
    {"UOM_ID", V::UOM_ID, &HostVariable::uom},
    {"QUALITY", V::QUALITY, &HostVariable::quality},
    {"ACTIVE_BOUND", V::ACTIVE_BOUND, &HostVariable::active_bound},
    {"PARAM_HOMO", V::PARAM_HOMO, &HostVariable::param_homo},
    {"RAMPED", V::RAMPED, &HostVariable::ramped},
    {"CONN_TYPE", V::CONN_TYPE, &HostVariable::conn_type},
};

struct TextRow {
    const char *name;
    int32_t id;
    const char *HostVariable::*text;
};
const TextRow kTexts[] = {
    {"NAME", V::NAME, &HostVariable::name},
    {"DESCRIPTION", V::DESCRIPTION, &HostVariable::description},
    {"PHYSICAL_TYPE", V::PHYSICAL_TYPE, &HostVariable::type_word},
    {"UOM", V::UOM, &HostVariable::uom_word},
    {"BASEUOM", V::BASEUOM, &HostVariable::base_word},
    {"CONN_TYPE", V::CONN_TYPE, &HostVariable::conn_word},
};

constexpr double kUnread = -7777.0;
constexpr int64_t kUnreadStatus = -7777;

// The ways a record loads a variable.
enum Path { kFromList, kFromColumns, kFromContainer };
const char *const kPathNames[] = {" from the list: ", " from the columns: ", " from the container: "};

// Loads variable k under a mask of one attribute into a record whose reals
// were never read.
V load_one(rtvarlst_t *list, int32_t k, int32_t id, Path path) {
    V r;
    for (const RealRow &row : kReals) r.*row.field = kUnread;
    r.change = kUnread;
    r.status = kUnreadStatus;
    r.mask = {0u, 0u};
    rtvarinfo_mask_add(&r.mask, id);
    QDLVariableColumns c{};
    FakeContainer container;
    container.objects.list = list;
    if (path == kFromColumns) {
        EXPECT_TRUE(V::GetColumns(list, c));
    }
    const bool loaded = path == kFromList      ? r.Load(list, k, false)
                        : path == kFromColumns ? r.Load(c, k, false)
                                               : r.Load(&container, nullptr, k, false);
    EXPECT_TRUE(loaded) << k;
    return r;
}

// Each attribute of each variable read alone, through the list, its columns
// and the container, against the host's data; the reals that the attribute does
// not need stay unread.
void expect_loads(rtvarlst_t *list, const HostVariable *host) {
    for (Path path : {kFromList, kFromColumns, kFromContainer}) {
        for (int32_t k = 1; k <= 2; ++k) {
            const HostVariable &h = host[k - 1];
            const std::string variable = h.name + std::string(kPathNames[path]);
            for (const RealRow &row : kReals) {
                SCOPED_TRACE(variable + row.name);
                EXPECT_STREQ(V::AttribName(row.id), row.name);
                const V r = load_one(list, k, row.id, path);
                double x = 0.0;
                EXPECT_TRUE(r.GetValue(row.id, x));
                const double stored = h.*row.stored;
                EXPECT_EQ(x, stored == kUndefined || row.scale == RealRow::kAsHeld ? stored
                             : row.scale == RealRow::kTimes                        ? stored * h.intscale
                                                                                   : stored / h.intscale);
                value_t v;
                value_init(&v);
                EXPECT_TRUE(r.GetValue(row.id, v));
                EXPECT_EQ(v.u.number.rval, x) << "as a value";
                EXPECT_EQ(v.u.number.undefined, stored == kUndefined) << "as a value";
                for (const RealRow &other : kReals) {
                    if (&other == &row || other.id == V::INTSCALE) continue;  // INTSCALE serves every real
                    EXPECT_EQ(r.*other.field, kUnread) << other.name << " read too";
                }
            }
            SCOPED_TRACE(variable + "the rest");
            const V change = load_one(list, k, V::CHANGE, path);
            double x = 0.0;
            EXPECT_TRUE(change.GetValue(V::CHANGE, x));
            EXPECT_EQ(x, (h.value - h.init) * h.intscale) << "CHANGE";
            EXPECT_EQ(change.lower, kUnread) << "CHANGE: LOWER read too";
            for (const CodeRow &row : kCodes) {
                EXPECT_STREQ(V::AttribName(row.id), row.name);
                const V r = load_one(list, k, row.id, path);
                int32_t code = -1;
                EXPECT_TRUE(r.GetValue(row.id, code)) << row.name;
                EXPECT_EQ(code, h.*row.code) << row.name;
                EXPECT_EQ(r.value, kUnread) << row.name << ": VALUE read too";
                EXPECT_EQ(r.intscale, kUnread) << row.name << ": INTSCALE read too";
            }
            for (const TextRow &row : kTexts) {
                EXPECT_STREQ(V::AttribName(row.id), row.name);
                const V r = load_one(list, k, row.id, path);
                const char *text = nullptr;
                EXPECT_TRUE(r.GetValue(row.id, text)) << row.name;
                EXPECT_STREQ(text, h.*row.text) << row.name;
            }
            const V r = load_one(list, k, V::MODIFIED, path);
            V::CMask modified{};
            EXPECT_TRUE(r.GetValue(V::MODIFIED, modified));
            EXPECT_EQ(modified.mask1, h.modified) << "MODIFIED";
            EXPECT_EQ(r.status, kUnreadStatus) << "MODIFIED: the status word read too";
            EXPECT_EQ(r.number, k) << "NUMBER";
        }
    }
}

// Each attribute loaded alone matches the host's data; each writable one,
// changed in a record loaded with it alone and committed, changes that and
// nothing else in the list; a read-only one is not written.
TEST(VariableRecordModel, EachAttributeLoadsAndCommitsAlone) {
    rtvarlst_t *list = rtovarlst_create(2);
    rtovarlst_set_nvar(list, 2);
    HostVariable host[2] = {kHost[0], kHost[1]};
    for (int32_t k = 1; k <= 2; ++k) write_host(list, k, host[k - 1]);
    FakeBlock block;
    FakeContainer container;
    block.objects.list = container.objects.list = list;
    {
        SCOPED_TRACE("as written");
        expect_loads(list, host);
    }
    // Loaded whole, the record answers and takes each attribute only in its own
    // kind (CONN_TYPE as a code and as its word).
    V whole;
    whole.mask = {~0u, ~0u};
    ASSERT_TRUE(whole.Load(list, 1, false));
    double x = 0.0;
    int32_t code = 0;
    const char *text = nullptr;
    for (const RealRow &row : kReals) {
        EXPECT_FALSE(whole.GetValue(row.id, code)) << row.name << " as a code";
        EXPECT_FALSE(whole.GetValue(row.id, text)) << row.name << " as a text";
        EXPECT_FALSE(whole.SetValue(row.id, code)) << row.name << " set from a code";
        EXPECT_FALSE(whole.SetValue(row.id, "1")) << row.name << " set from a text";
    }
    for (const CodeRow &row : kCodes) {
        EXPECT_FALSE(whole.GetValue(row.id, x)) << row.name << " as a real";
        EXPECT_FALSE(whole.SetValue(row.id, 1.0)) << row.name << " set from a real";
        EXPECT_EQ(whole.GetValue(row.id, text), row.id == V::CONN_TYPE) << row.name << " as a text";
    }
    for (const TextRow &row : kTexts) {
        EXPECT_FALSE(whole.GetValue(row.id, x)) << row.name << " as a real";
        EXPECT_FALSE(whole.SetValue(row.id, 1.0)) << row.name << " set from a real";
        EXPECT_EQ(whole.GetValue(row.id, code), row.id == V::CONN_TYPE) << row.name << " as a code";
    }
    value_t v;
    value_init(&v);
    EXPECT_FALSE(whole.GetValue(V::BLOCKPTR, v)) << "an attribute of no kind";
    EXPECT_FALSE(whole.SetValue(V::CONN_TYPE, "NO_SUCH_TYPE"));
    EXPECT_EQ(V::AttribName(3), nullptr) << "3 is no attribute";
    for (int32_t k = 1; k <= 2; ++k) {
        HostVariable &h = host[k - 1];
        for (const RealRow &row : kReals) {
            SCOPED_TRACE(std::string(h.name) + " " + row.name + " committed");
            const bool writable = row.id != V::INTSCALE && row.id != V::SHADOW_PRICE;
            const double stored = h.*row.stored * 2.0 + 1.0;
            V r = load_one(list, k, row.id, kFromList);
            const double given = row.scale == RealRow::kTimes ? stored * h.intscale : stored;
            ASSERT_TRUE(r.SetValue(row.id, given));
            ASSERT_TRUE(r.Commit(list, k));
            if (writable) h.*row.stored = stored;
            expect_loads(list, host);
        }
        struct CodeChange {
            const CodeRow &row;
            int32_t code;
        };
        const CodeChange codes[] = {{kCodes[0], VAR_OPTIM},
                                    {kCodes[1], VAR_BOUND_SOFT2},
                                    {kCodes[2], 1 - h.marked},
                                    {kCodes[3], 3 - h.vtype},
                                    {kCodes[5], 1},
                                    {kCodes[6], 3},
                                    {kCodes[7], 6},
                                    {kCodes[8], 1 - h.param_homo},
                                    {kCodes[9], 1 - h.ramped},
                                    {kCodes[10], 1}};
        for (const CodeChange &change : codes) {
            SCOPED_TRACE(std::string(h.name) + " " + change.row.name + " committed");
            V r = load_one(list, k, change.row.id, kFromList);
            ASSERT_TRUE(r.SetValue(change.row.id, change.code));
            ASSERT_TRUE(r.Commit(nullptr, &block, k)) << "through the block";
            if (change.row.id != V::ACTIVE_BOUND) h.*change.row.code = change.code;  // read only
            if (change.row.id == V::UOM_ID) h.uom_word = h.base_word;  // unit 1 is the base unit
            if (change.row.id == V::CONN_TYPE) h.conn_word = "AREA";
            expect_loads(list, host);
        }
        SCOPED_TRACE(std::string(h.name) + " DESCRIPTION and MODIFIED committed");
        V r = load_one(list, k, V::DESCRIPTION, kFromList);
        ASSERT_TRUE(r.SetValue(V::DESCRIPTION, "changed"));
        ASSERT_TRUE(r.SetValue(V::MODIFIED, V::CMask{8u, 0u}));
        EXPECT_FALSE(r.Commit(nullptr, nullptr, k)) << "without a host";
        ASSERT_TRUE(r.Commit(&container, nullptr, k)) << "through the container";
        h.description = "changed";
        h.modified = 8u;
        expect_loads(list, host);
    }
    rtovarlst_destroy_c(&list);
}

// The equation, port and parameter records hold after a load only what their
// mask asked of the host (anything held from an earlier object is dropped) and
// their number; a port's codes read as values are their words; commits go to
// the host that holds the object.
TEST(HostRecordModel, EquationsPortsAndParametersHoldWhatTheirMaskAskedAndGoBack) {
    using E = QDLEquationData;
    using Q = QDLPortData;
    FakeBlock block;
    block.objects.equations = {{"E1", 2.5, 4.0, -1.0}, {"E2", -6.0, 0.5, 3.0}};
    EXPECT_EQ(E::AttribId(nullptr), 0) << "no name names no equation attribute";
    EXPECT_EQ(Q::AttribId(nullptr), 0) << "no name names no port attribute";
    EXPECT_EQ(QDLParameterData::AttribId(nullptr), 0) << "no name names no parameter attribute";
    const E fresh;  // asks for nothing, holds nothing
    EXPECT_EQ(fresh.mask.mask1 | fresh.mask.mask2 | fresh.loaded.mask1 | fresh.loaded.mask2, 0u);
    EXPECT_EQ(fresh.number, 0);
    EXPECT_EQ(fresh.value, 0.0);
    EXPECT_EQ(fresh.scale, 0.0);
    EXPECT_EQ(fresh.shadow_price, 0.0);
    E stale;  // as left by a load of another equation
    EXPECT_FALSE(stale.SetValue(E::NUMBER, 1.0)) << "NUMBER is not a real";
    EXPECT_FALSE(stale.SetValue(E::VALUE, int32_t{1})) << "VALUE is not a code";
    ASSERT_TRUE(stale.SetValue(E::NUMBER, int32_t{7}));
    int32_t code = -1;
    EXPECT_EQ(E::EnumToString(E::VALUE, 0), nullptr) << "equations have no words";
    EXPECT_FALSE(E::StringToEnum(E::VALUE, "ZERO", code));
    ASSERT_TRUE(stale.SetValue(E::NAME, "E0"));
    ASSERT_TRUE(stale.SetValue(E::VALUE, 99.0));
    ASSERT_TRUE(stale.SetValue(E::SCALE, 99.0));
    ASSERT_TRUE(stale.SetValue(E::SHADOW_PRICE, 99.0));
    struct EquationRow {
        const char *name;
        int32_t id;
        double of_e2;
    };
    const EquationRow reals[] = {
        {"VALUE", E::VALUE, -6.0}, {"SCALE", E::SCALE, 0.5}, {"SHADOW_PRICE", E::SHADOW_PRICE, 3.0}};
    for (const EquationRow &row : reals) {
        SCOPED_TRACE(std::string("E2 ") + row.name);
        EXPECT_STREQ(E::AttribName(row.id), row.name);
        E r = stale;
        r.mask = {static_cast<uint32_t>(row.id), 0u};
        ASSERT_TRUE(r.Load(nullptr, &block, 2, false));
        value_t v;
        for (const EquationRow &other : reals) {
            value_init(&v);
            EXPECT_EQ(r.GetValue(other.id, v), &other == &row) << other.name << " held";
            EXPECT_EQ(v.u.number.rval, &other == &row ? row.of_e2 : 0.0) << other.name;
        }
        EXPECT_FALSE(r.GetValue(E::NAME, v)) << "E0's name held";
        ASSERT_TRUE(r.GetValue(E::NUMBER, v));
        EXPECT_EQ(v.u.number.ival, 2) << "NUMBER";
    }
    FakePort port;
    port.name = "IN1";
    port.type = 2;
    port.direction = 1;
    port.basis = 2;
    port.phase = 3;
    port.sos = 1;
    block.objects.ports = {port};
    struct PortRow {
        const char *name;
        int32_t id;
        const char *shown;  // the text, or the code's word; null: not held
    };
    const PortRow port_rows[] = {{"NAME", Q::NAME, "IN1"},
                                 {"STREAM", Q::STREAM, nullptr},
                                 {"TYPE", Q::TYPE, "INFORMATION"},
                                 {"DIRECTION", Q::DIRECTION, "INPUT"},
                                 {"BASIS", Q::BASIS, "MOLE_FRACTION"},
                                 {"PHASE", Q::PHASE, "VAPOR-LIQUID"},
                                 {"SPECIAL_ORDERED_SET", Q::SPECIAL_ORDERED_SET, "SOS TYPE2"}};
    for (const PortRow &row : port_rows) {
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(Q::AttribName(row.id), row.name);
        Q r;
        r.mask = {static_cast<uint32_t>(row.id), 0u};
        ASSERT_TRUE(r.Load(nullptr, &block, 1, false));
        EXPECT_EQ(r.number, 1);
        for (const PortRow &other : port_rows) {
            value_t v;
            value_init(&v);
            const bool asked = &other == &row && other.shown != nullptr;
            EXPECT_EQ(r.GetValue(other.id, v), asked) << other.name << " held";
            if (asked) {
                ASSERT_EQ(v.value_type, string_value) << other.name;
                EXPECT_STREQ(v.u.text, other.shown) << other.name;
            }
            value_destroy(&v);
        }
    }
    EXPECT_FALSE(Q().Load(nullptr, &block, 2, false)) << "no port 2";
    block.objects.ports[0].phase = 9;
    Q phase;
    phase.mask = {Q::PHASE, 0u};
    ASSERT_TRUE(phase.Load(nullptr, &block, 1, false));
    value_t nine;
    value_init(&nine);
    ASSERT_TRUE(phase.GetValue(Q::PHASE, nine));
    EXPECT_EQ(nine.u.number.ival, 9) << "a code without a word as a value";
    double x = 0.0;
    EXPECT_FALSE(phase.GetValue(Q::PHASE, x)) << "a port has no reals";
    const char *word = nullptr;
    EXPECT_FALSE(phase.GetValue(Q::PHASE, word)) << "a port's code is no text";
    value_t three;
    value_init(&three);
    value_assign_int(&three, 3);
    block.objects.AddParameter("P1", three, P::TYPE_INTEGER, P::ACCESS_READ_WRITE);
    P r;
    ASSERT_TRUE(r.SetValue(P::DESCRIPTION, "stale"));
    ASSERT_TRUE(r.Load(nullptr, &block, 1, false));
    const char *text = nullptr;
    EXPECT_FALSE(r.GetValue(P::DESCRIPTION, text)) << "a parameter's text from before its load";
    EXPECT_FALSE(r.GetValue(P::UOM, text)) << "the host gave no unit";
    ASSERT_TRUE(r.GetValue(P::NAME, text));
    EXPECT_STREQ(text, "P1");
    ASSERT_TRUE(r.GetValue(P::VALUE, three));
    EXPECT_EQ(three.u.number.ival, 3);
    ASSERT_TRUE(r.GetValue(P::NAME, three));
    EXPECT_STREQ(three.u.text, "P1") << "NAME as a value";
    value_destroy(&three);
    EXPECT_FALSE(r.GetValue(P::VALUE, x)) << "a parameter's value is no real";
    EXPECT_FALSE(r.GetValue(P::ACCESS, text)) << "ACCESS is no text";
    EXPECT_STREQ(P::AttribName(P::PHYSICALTYPE), "PHYSICALTYPE");
    EXPECT_TRUE(P::StringToEnum(P::ACCESS, "read-only", code));
    EXPECT_EQ(code, P::ACCESS_READ_ONLY);
    // Records go back to the block, else to the container, else nowhere.
    FakeContainer model;
    model.objects.equations = block.objects.equations;
    EXPECT_TRUE(stale.Commit(&model, &block, 2));
    EXPECT_FALSE(stale.Commit(&model, &block, 3)) << "no equation 3";
    EXPECT_TRUE(r.Commit(&model, &block, 1));
    EXPECT_TRUE(stale.Commit(&model, nullptr, 1));
    EXPECT_FALSE(stale.Commit(nullptr, nullptr, 1));
    EXPECT_FALSE(r.Commit(nullptr, nullptr, 1));
    EXPECT_FALSE(E().Load(nullptr, nullptr, 1, false)) << "an equation loaded without a host";
    EXPECT_FALSE(P().Load(nullptr, nullptr, 1, false)) << "a parameter loaded without a host";
    EXPECT_FALSE(Q().Load(nullptr, nullptr, 1, false)) << "a port loaded without a host";
    EXPECT_EQ(block.objects.committed, (std::vector<int32_t>{2, 3, 1})) << "equation 2, 3, parameter 1";
    EXPECT_EQ(model.objects.committed, (std::vector<int32_t>{1})) << "equation 1";
}

// A pressure of 2 ATM held in PSIA with internal scale 2.
class Loading : public ::testing::Test {
  protected:
    void SetUp() override {
        rtovarlst_set_nvar(list, 1);
        rtovarlst_addvar(list, 1, "P1");
        int64_t word = 0;
        varSetPhysicalType(&word, 20);
        varSetSpec(&word, VAR_CONST);
        rtovarlst_set_var_status(list, 1, word);
        rtovarlst_set_var_uom(list, 1, 3);
        rtovarlst_set_var_baseuom(list, 1, 2);
        rtovarlst_vec_scale(list)[0] = 2.0;
        rtovarlst_set_var_value(list, 1, rtouom_si2pair(202650.0, 20, 2) / 2.0, 0);
    }
    void TearDown() override { rtovarlst_destroy_c(&list); }
    rtvarlst_t *list = rtovarlst_create(1);
};

// A created variable takes its status word from the codes set in the record;
// no load, commit or create reaches outside the list.
TEST_F(Loading, ACreateWritesTheStatusWordAndNothingReachesOutsideTheList) {
    V r;
    EXPECT_FALSE(r.Create(list, 1)) << "a record without a name";
    ASSERT_TRUE(r.SetValue(V::NAME, "P9"));
    QDLVariableColumns c{};
    ASSERT_TRUE(V::GetColumns(list, c));
    EXPECT_FALSE(V::GetColumns(nullptr, c));
    EXPECT_EQ(c.list, nullptr) << "a refused call leaves the columns of the last one behind";
    EXPECT_EQ(c.count, 0) << "a refused call leaves the count of the last one behind";
    for (int32_t outside : {0, 2}) {
        EXPECT_FALSE(r.Load(list, outside, false)) << outside;
        EXPECT_FALSE(r.Load(c, outside, false)) << outside;
        EXPECT_FALSE(r.Commit(list, outside)) << outside;
        EXPECT_FALSE(r.Create(list, outside)) << outside;
    }
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{VAR_INDEP}));
    ASSERT_TRUE(r.SetValue(V::BOUND, int32_t{VAR_BOUND_SOFT2}));
    ASSERT_TRUE(r.SetValue(V::MARKED, int32_t{1}));
    ASSERT_TRUE(r.SetValue(V::VARIABLE_TYPE, int32_t{3}));
    ASSERT_TRUE(r.SetValue(V::PHYSICAL_TYPE_ID, int32_t{17}));
    ASSERT_TRUE(r.Create(list, 1));
    const int64_t word = rtovarlst_inq_var_status(list, 1);
    int64_t bound = -1;
    varInqBoundType(word, &bound);
    EXPECT_EQ(varInqSpec(word), VAR_INDEP);
    EXPECT_EQ(bound, VAR_BOUND_SOFT2);
    EXPECT_EQ(varInqMarked(word), 1);
    EXPECT_EQ(varInqType(word), 3) << "VARIABLE_TYPE";
    EXPECT_EQ(varInqPhysicalType(word), 17);
}

// A commit takes a real from the display unit (ATM) back to the held PSIA
// over the scale.
TEST_F(Loading, ACommitUndoesTheUnitAndScaleOfTheLoad) {
    V r;
    r.mask = {V::VALUE, 0u};
    rtvarinfo_mask_add(&r.mask, V::BASEUOM);  // the base unit's name, loaded last, leaves the unit flag alone
    ASSERT_TRUE(r.Load(list, 1, true));
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.GetValue(V::VALUE, v));
    EXPECT_NEAR(v.u.number.rval, 202650.0, 1e-6) << "2 ATM as a value is held in SI";
    EXPECT_EQ(v.u.number.uom, 3) << "shown in ATM";
    rtovarlst_set_var_sbweight(list, 1, 2.0);
    V weight;
    weight.mask = {V::SBWEIGHT, 0u};
    ASSERT_TRUE(weight.Load(list, 1, true));
    ASSERT_TRUE(weight.GetValue(V::SBWEIGHT, v));
    EXPECT_EQ(v.u.number.rval, 2.0) << "a weight is no quantity of the display unit";
    ASSERT_TRUE(r.SetValue(V::VALUE, 1.5));
    ASSERT_TRUE(r.Commit(list, 1));
    V si;
    si.mask = {V::VALUE, 0u};
    ASSERT_TRUE(si.Load(list, 1, false));
    double pascals = 0.0;
    ASSERT_TRUE(si.GetValue(V::VALUE, pascals));
    EXPECT_NEAR(pascals, 151987.5, 1e-6) << "1.5 ATM";
    // In a unit with an offset (type 60, unit 2) a value goes back through the
    // offset and a step, a difference, without it.
    int64_t word = 0;
    varSetPhysicalType(&word, 60);
    rtovarlst_set_var_status(list, 1, word);
    rtovarlst_set_var_uom(list, 1, 2);
    rtovarlst_set_var_baseuom(list, 1, 1);
    V shifted;
    shifted.mask = {V::VALUE | V::STEP, 0u};
    ASSERT_TRUE(shifted.Load(list, 1, true));
    ASSERT_TRUE(shifted.SetValue(V::VALUE, 10.0));
    ASSERT_TRUE(shifted.SetValue(V::STEP, 4.0));
    ASSERT_TRUE(shifted.Commit(list, 1));
    ASSERT_TRUE(shifted.Load(list, 1, true));
    double value = 0.0, step = 0.0;
    ASSERT_TRUE(shifted.GetValue(V::VALUE, value));
    ASSERT_TRUE(shifted.GetValue(V::STEP, step));
    EXPECT_NEAR(value, 10.0, 1e-9) << "a value committed and loaded again";
    EXPECT_NEAR(step, 4.0, 1e-9) << "a step committed and loaded again";
}

// One record loads the unit names of P1 as it changes: a type without units,
// or a unit number beyond its type's table, has no name (not the name of the
// last load) and asks for none; base unit 0 is the type's default unit, the
// unit the loaded numbers are read in.
TEST_F(Loading, UnitNamesOfEachLoadAndNoneLeftFromTheLast) {
    const int temperature = 22, fahrenheit = 2;
    struct Row {
        const char *name;
        int32_t ptype, uom, baseuom, id;
        const char *expected;
    };
    const Row rows[] = {{"the display unit", 20, 3, 2, V::UOM, "ATM"},
                        {"a type without units", RTOUOM_NTYPES + 10, 3, 2, V::UOM, ""},
                        {"the display unit again", 20, 3, 2, V::UOM, "ATM"},
                        {"a unit beyond its type's table", 20, 99, 2, V::UOM, ""},
                        {"base unit 0 with F the default unit", temperature, 0, 0, V::BASEUOM, "F"}};
    HistoryCapture history;
    const int kept = rtouom_get_default(temperature);
    ASSERT_EQ(rtouom_set_default(temperature, fahrenheit), 1);
    V r;
    std::vector<std::string> names;
    for (const Row &row : rows) {
        rtovarlst_set_physical_type(list, 1, row.ptype);
        rtovarlst_set_var_uom(list, 1, row.uom);
        rtovarlst_set_var_baseuom(list, 1, row.baseuom);
        r.mask = {0u, 0u};
        rtvarinfo_mask_add(&r.mask, row.id);
        const char *text = nullptr;
        const bool loaded = r.Load(list, 1, false) && r.GetValue(row.id, text);
        names.push_back(loaded ? text : "(not loaded)");
    }
    rtouom_set_default(temperature, kept);
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], rows[i].expected) << rows[i].name;
    EXPECT_EQ(history.text(), "") << "a unit without a name was asked for";
}

TEST(QueryRecords, CodesAndTextsAsValuesAndVariants) {
    V r;
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{1}));
    ASSERT_TRUE(r.SetValue(V::NUMBER, int32_t{7}));
    value_t v;
    value_init(&v);
    v.value_type = static_cast<value_type_code>(99);
    EXPECT_FALSE(r.GetValue(V::SPEC, v)) << "a broken value is refused";
    EXPECT_FALSE(P().SetValue(P::VALUE, v)) << "a broken value is not taken";
    value_init(&v);
    ASSERT_TRUE(r.GetValue(V::SPEC, v));
    EXPECT_STREQ(v.u.text, "CONST");
    int32_t code = -1;
    EXPECT_FALSE(V::StringToEnum(V::SPEC, nullptr, code)) << "no word";
    EXPECT_EQ(code, -1);
    ASSERT_TRUE(r.GetValue(V::NUMBER, v));
    EXPECT_EQ(v.u.number.ival, 7);
    ASSERT_TRUE(r.SetValue(V::CONN_TYPE, int32_t{500}));
    ASSERT_TRUE(r.GetValue(V::CONN_TYPE, v)) << "a code without a word";
    EXPECT_EQ(v.u.number.ival, 500);
    const std::pair<int32_t, const char *> texts[] = {
        {V::NAME, "B1.X"},     {V::DESCRIPTION, "feed"},     {V::CONN_TYPE, "PRESSURE"},
        {V::CONN_TYPE, "API"}, {V::PHYSICAL_TYPE, "LENGTH"}, {V::UOM, "ATM"},
        {V::BASEUOM, "PSIA"}};
    for (const auto &[id, text] : texts) {
        ASSERT_TRUE(r.SetValue(id, text)) << text;
        ASSERT_TRUE(r.GetValue(id, v)) << text;
        EXPECT_STREQ(v.u.text, text);
    }
    const std::string longest(V::kUnitNameSize - 1, 'U');
    for (int32_t id : {V::UOM, V::BASEUOM}) {
        EXPECT_FALSE(r.SetValue(id, (longest + "U").c_str())) << V::AttribName(id) << ": one byte too long";
        ASSERT_TRUE(r.SetValue(id, longest.c_str())) << V::AttribName(id) << ": the longest";
        ASSERT_TRUE(r.GetValue(id, v));
        EXPECT_EQ(v.u.text, longest) << V::AttribName(id);
    }
    P p;
    ASSERT_TRUE(p.SetValue(P::ACCESS, int32_t{P::ACCESS_READ_ONLY}));
    ASSERT_TRUE(p.SetValue(P::UOM, "KG"));
    VARIANT var;
    VariantInit(&var);
    ASSERT_TRUE(p.GetValue(P::ACCESS, var));
    EXPECT_EQ(var.vt, VT_I4);
    EXPECT_EQ(var.lVal, P::ACCESS_READ_ONLY);
    ASSERT_TRUE(p.GetValue(P::UOM, var));
    ASSERT_EQ(var.vt, VT_BSTR);
    EXPECT_EQ(units_of(var.bstrVal), (std::vector<OLECHAR>{'K', 'G'}));
    ASSERT_TRUE(p.GetValue(P::UOM, var)) << "again, over the text it holds (freed first)";
    ASSERT_TRUE(p.GetValue(P::ACCESS, var)) << "a code over the text it holds (freed first)";
    EXPECT_EQ(var.vt, VT_I4);
    p.type = 9;  // a code without a word, as a host may load it
    p.loaded.mask1 |= P::TYPE;
    ASSERT_TRUE(p.GetValue(P::TYPE, v));
    EXPECT_EQ(v.u.number.ival, 9);
    VariantClear(&var);
    value_destroy(&v);
}

TEST_F(Loading, AUnitRedefinedBetweenRunsIsSeenByRecordsAndEngines) {
    HistoryCapture history;
    const int unit = rtouom_add_uom("KPA_OF_QUERIES", 20, 1000.0, 0.0);
    ASSERT_GT(unit, 0);
    rtovarlst_set_var_uom(list, 1, unit);
    FakeBlock block;
    block.objects.list = list;
    IQDLQueryEngine *engine = QDLQueryFactory::NewVariableQuery(nullptr, &block);
    ASSERT_TRUE(engine->SetQueryText("VALUE > 1000"));
    V r;
    r.mask = {V::VALUE, 0u};
    ASSERT_TRUE(r.Load(list, 1, true));
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 0);
    ASSERT_EQ(rtouom_modify_mult_offset(20, "KPA_OF_QUERIES", 100.0, 0.0), 1);
    ASSERT_TRUE(r.Load(list, 1, true));
    double shown = 0.0;
    ASSERT_TRUE(r.GetValue(V::VALUE, shown));
    EXPECT_NEAR(shown, 2026.5, 1e-9) << "the record's kept factors follow the table";
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 1) << "and so do the engine's";
    engine->Release();
}

// Each code attribute takes both ends of its range, not the codes beyond.
TEST(VariableRecord, CodeSettersTakeTheirRangeAndRefuseBeyondIt) {
    struct Row {
        int32_t id, lowest, highest;
    };
    const Row rows[] = {{V::SPEC, VAR_CALC, VAR_INITIAL},
                        {V::BOUND, VAR_BOUND_HARD, VAR_BOUND_SOFT2},
                        {V::QUALITY, 0, 3},
                        {V::ACTIVE_BOUND, 0, 17},
                        {V::VARIABLE_TYPE, 0, 7},
                        {V::PARAM_HOMO, 0, 1},
                        {V::MARKED, 0, 1},
                        {V::RAMPED, 0, 1},
                        {V::CONN_TYPE, 0, RTOVARLST_MAX_CONN_TYPE},
                        {V::PHYSICAL_TYPE_ID, -255, 255}};
    for (const Row &row : rows) {
        const char *name = V::AttribName(row.id);
        V r;
        int32_t held = 0;
        EXPECT_FALSE(r.GetValue(row.id, held)) << name << " unset";
        for (int32_t code : {row.highest, row.lowest}) {
            EXPECT_TRUE(r.SetValue(row.id, code)) << name << " " << code;
            EXPECT_TRUE(r.GetValue(row.id, held)) << name << " " << code;
            EXPECT_EQ(held, code) << name;
        }
        for (int32_t beyond : {row.lowest - 1, row.highest + 1})
            EXPECT_FALSE(r.SetValue(row.id, beyond)) << name << " " << beyond;
    }
    V r;
    EXPECT_TRUE(r.SetValue(V::UOM_ID, int32_t{0})) << "unit 0 stands for the default unit";
    EXPECT_FALSE(r.SetValue(V::UOM_ID, int32_t{-1}));
}

// An attribute is marked by the bits its assignment sets (UOM: 1024 and 2 in
// the first word, 2 in the second); INTSCALE, which has no assignment of its
// own, by its own bit.
TEST(VariableRecord, ModificationBitsOfEachAttribute) {
    V r;
    r.SetIsModified(V::UOM, true);
    r.SetIsModified(V::VALUE, true);
    EXPECT_EQ(r.modified.mask1, 1024u | 2u) << "UOM's and VALUE's bits, first word";
    EXPECT_EQ(r.modified.mask2, 2u) << "UOM's bit, second word";
    r.SetIsModified(V::UOM, false);
    EXPECT_EQ(r.modified.mask1, 2u) << "only UOM's bits cleared";
    EXPECT_EQ(r.modified.mask2, 0u) << "UOM's bit cleared, second word";
    V scaled;
    scaled.mask = {V::MODIFIED, 0u};
    scaled.SetIsModified(V::INTSCALE, true);
    EXPECT_EQ(scaled.modified.mask1, static_cast<uint32_t>(V::INTSCALE)) << "INTSCALE's own bit";
    EXPECT_TRUE(scaled.IsModified(V::INTSCALE));
}

TEST(ParameterVariant, ValuesAndBackKindByKind) {
    value_t v, back;
    value_init(&v);
    value_init(&back);
    VARIANT var;
    VariantInit(&var);
    P r;
    // The value goes out of VALUE as a VARIANT, and that VARIANT back into LOWER.
    auto out_and_back = [&](VARTYPE vt) {
        ASSERT_TRUE(r.SetValue(P::VALUE, v));
        ASSERT_TRUE(r.GetValue(P::VALUE, var));
        EXPECT_EQ(var.vt, vt);
        ASSERT_TRUE(r.SetValue(P::LOWER, var));
        ASSERT_TRUE(r.GetValue(P::LOWER, back));
        EXPECT_EQ(back.value_type, v.value_type);
    };
    value_assign_int(&v, -7);
    out_and_back(VT_I4);
    EXPECT_EQ(var.lVal, -7);
    EXPECT_EQ(back.u.number.ival, -7);
    value_assign_logical(&v, 1);
    out_and_back(VT_BOOL);
    EXPECT_EQ(var.boolVal, VARIANT_TRUE);
    EXPECT_EQ(back.u.logical, 1);
    value_assign_double(&v, 2.5, 0, 0);
    out_and_back(VT_R8);
    EXPECT_EQ(var.dblVal, 2.5);
    EXPECT_EQ(back.u.number.rval, 2.5);
    gl_list_t *list = gl_create();
    gl_addtoend(list, value_create_from_string(const_cast<char *>("CO2"), 1));
    value_assign_list(&v, list);
    out_and_back(VT_ARRAY | VT_BSTR);
    EXPECT_EQ(units_of(static_cast<BSTR *>(var.parray->pvData)[0]), (std::vector<OLECHAR>{'C', 'O', '2'}));
    EXPECT_EQ(var.parray->rgsabound[0].lLbound, 0) << "a host indexes the texts from 0";
    // Short memory: the whole list or nothing.
    fail_each_allocation([&] { return r.SetValue(P::LOWER, var); },
                         [&](long n, bool ok) { EXPECT_FALSE(ok) << "allocation " << n; });
    EXPECT_STREQ(static_cast<value_t *>(back.u.list->head->data)->u.text, "CO2");
    fail_each_allocation(
        [&] { return r.SetValue(P::UPPER, v); },
        [&](long n, bool ok) { EXPECT_FALSE(ok) << "a value copied in part, allocation " << n; });
    zarn::failalloc_set(1);
    EXPECT_FALSE(r.GetValue(P::VALUE, var)) << "a list whose text cannot be made has no VARIANT";
    zarn::failalloc_set(0);
    value_destroy(&v);
    out_and_back(VT_EMPTY);
    value_assign_range(&v, 1, 3);
    ASSERT_TRUE(r.SetValue(P::VALUE, v));
    EXPECT_FALSE(r.GetValue(P::VALUE, var)) << "a range has no VARIANT";
    gl_list_t *mixed = gl_create();
    gl_addtoend(mixed, value_create_from_string(const_cast<char *>("CO2"), 1));
    gl_addtoend(mixed, value_create_from_int(44));
    value_destroy(&v);
    value_assign_list(&v, mixed);
    ASSERT_TRUE(r.SetValue(P::VALUE, v));
    EXPECT_FALSE(r.GetValue(P::VALUE, var)) << "a list holding a number has no VARIANT";
    VariantClear(&var);
    var.vt = VT_NULL;
    EXPECT_FALSE(r.SetValue(P::VALUE, var));
    var.vt = VT_ARRAY | VT_BSTR;
    var.parray = SafeArrayCreateVector(VT_I4, 0, 2);
    EXPECT_FALSE(r.SetValue(P::VALUE, var)) << "integers as texts";
    VariantClear(&var);
    var.vt = VT_ARRAY | VT_BSTR;
    var.parray = SafeArrayCreateVector(VT_BSTR, 0, 2);
    void *data = var.parray->pvData;
    var.parray->pvData = nullptr;
    EXPECT_FALSE(r.SetValue(P::VALUE, var)) << "two texts claimed without their data";
    var.parray->pvData = data;
    value_destroy(&v);
    value_destroy(&back);
    VariantClear(&var);
}

TEST(ParameterVariant, TextsAsUtf16WithReplacementCharacters) {
    struct Row {
        const char *text;
        std::vector<OLECHAR> units;
    };
    const Row rows[] = {{"h\xc3\xa9 \xf0\x9f\x98\x81", {'h', 0xE9, ' ', 0xD83D, 0xDE01}},
                        {"a\xff", {'a', 0xFFFD}},
                        {"\xe2\x82", {0xFFFD, 0xFFFD}},
                        {"\xc0\xaf", {0xFFFD, 0xFFFD}},
                        {"\xed\xa0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
                        {"\xed\xbf\xbf", {0xFFFD, 0xFFFD, 0xFFFD}},
                        {"\xe2\x82\xac", {0x20AC}},
                        {"\xe0\xa0\x80", {0x800}},
                        {"\xf0\x90\x8d\x88", {0xD800, 0xDF48}},
                        {"\xc3\xc3", {0xFFFD, 0xFFFD}}};
    for (const Row &row : rows) {
        P r;
        value_t v;
        value_init(&v);
        value_assign_copy_of_string(&v, row.text);
        VARIANT var;
        VariantInit(&var);
        ASSERT_TRUE(r.SetValue(P::VALUE, v)) << row.text;
        ASSERT_TRUE(r.GetValue(P::VALUE, var)) << row.text;
        EXPECT_EQ(units_of(var.bstrVal), row.units) << row.text;
        ASSERT_TRUE(r.SetValue(P::VALUE, var)) << row.text;
        ASSERT_TRUE(r.GetValue(P::VALUE, v)) << row.text;
        if (row.units.back() != 0xFFFD) {
            EXPECT_STREQ(v.u.text, row.text) << "and back";
        }
        value_destroy(&v);
        VariantClear(&var);
    }
    const OLECHAR lone[] = {'x', 0xD800};
    VARIANT var;
    VariantInit(&var);
    var.vt = VT_BSTR;
    var.bstrVal = SysAllocStringLen(lone, 2);
    P r;
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.SetValue(P::VALUE, var));
    ASSERT_TRUE(r.GetValue(P::VALUE, v));
    EXPECT_STREQ(v.u.text, "x\xef\xbf\xbd");
    value_destroy(&v);
    VariantClear(&var);
}

TEST(ParameterRecord, CopiesAreDeepAndANewRecordHoldsEmptyValues) {
    alignas(P) unsigned char space[sizeof(P)];
    std::memset(space, 0xA5, sizeof space);  // memory used before
    P *made = new (space) P;
    EXPECT_EQ(made->loaded.mask1, 0u) << "a new record has loaded nothing";
    value_t v;
    value_init(&v);
    value_assign_copy_of_string(&v, "abc");
    StderrCapture err;
    ASSERT_TRUE(made->SetValue(P::VALUE, v));
    ASSERT_TRUE(made->SetValue(P::LOWER, v)) << "a bound held in memory of its own, freed with its record";
    ASSERT_TRUE(made->SetValue(P::NAME, "P1"));
    ASSERT_TRUE(made->SetValue(P::TYPE, int32_t{P::TYPE_STRING}));
    ASSERT_TRUE(made->SetValue(P::ACCESS, int32_t{P::ACCESS_READ_ONLY}));
    ASSERT_TRUE(made->SetValue(P::DESCRIPTION, "feed"));
    ASSERT_TRUE(made->SetValue(P::PHYSICALTYPE, "MASS"));
    EXPECT_FALSE(made->SetValue(P::TYPE, int32_t{9})) << "a code without a word";
    made->mask = {P::VALUE | P::NAME, 0u};
    made->number = 4;
    P assigned;
    assigned = *made;
    const P constructed(*made);
    made->~P();
    EXPECT_EQ(err.text(), "") << "the new record's value slots were valid empty values";
    for (const P *r : {static_cast<const P *>(&assigned), &constructed}) {
        EXPECT_EQ(r->mask.mask1, uint32_t{P::VALUE | P::NAME});
        EXPECT_EQ(r->number, 4);
        EXPECT_EQ(r->loaded.mask1, uint32_t{P::VALUE | P::LOWER | P::NAME | P::TYPE | P::ACCESS |
                                            P::DESCRIPTION | P::PHYSICALTYPE});
        value_t back;
        value_init(&back);
        EXPECT_TRUE(r->GetValue(P::VALUE, back));
        EXPECT_STREQ(back.u.text, "abc") << "kept after the original went";
        EXPECT_TRUE(r->GetValue(P::ACCESS, back));
        ASSERT_EQ(back.value_type, string_value) << "a code as a value is its word";
        EXPECT_STREQ(back.u.text, "READ_ONLY");
        value_destroy(&back);
        int32_t type = -1;
        EXPECT_TRUE(r->GetValue(P::TYPE, type));
        EXPECT_EQ(type, int32_t{P::TYPE_STRING}) << "the type code is copied";
        const char *name = nullptr;
        EXPECT_TRUE(r->GetValue(P::NAME, name));
        EXPECT_STREQ(name, "P1");
        EXPECT_TRUE(r->GetValue(P::DESCRIPTION, name));
        EXPECT_STREQ(name, "feed");
        EXPECT_TRUE(r->GetValue(P::PHYSICALTYPE, name));
        EXPECT_STREQ(name, "MASS");
    }
    value_destroy(&v);
}

// Short of memory, a parameter record gives no value it could not copy:
// GetValue is false and leaves the caller's value, and an assignment leaves
// no value or name of the record it overwrote.
TEST(ParameterRecord, ShortMemoryGivesNoStaleValue) {
    value_t v, out;
    value_init(&v);
    value_init(&out);
    P from;
    value_assign_copy_of_string(&v, "new");
    ASSERT_TRUE(from.SetValue(P::VALUE, v));
    ASSERT_TRUE(from.SetValue(P::NAME, "NEW"));
    value_assign_copy_of_string(&out, "old");
    HistoryCapture history;
    fail_each_allocation([&] { return from.GetValue(P::VALUE, out); },
                         [&](long n, bool ok) {
                             EXPECT_FALSE(ok) << "given with allocation " << n << " failing";
                             EXPECT_STREQ(out.u.text, "old") << "the caller's value, allocation " << n;
                         });
    for (long n = 1; n <= 3; ++n) {
        P to;
        value_assign_copy_of_string(&v, "old");
        ASSERT_TRUE(to.SetValue(P::VALUE, v));
        ASSERT_TRUE(to.SetValue(P::NAME, "OLD"));
        zarn::failalloc_set(n);
        to = from;
        zarn::failalloc_set(0);
        const char *name = nullptr;
        if (to.GetValue(P::VALUE, out)) {
            EXPECT_STREQ(out.u.text, "new") << "assigned with allocation " << n << " failing: the value";
        }
        if (to.GetValue(P::NAME, name)) {
            EXPECT_STREQ(name, "NEW") << "assigned with allocation " << n << " failing: the name";
        }
    }
    value_destroy(&v);
    value_destroy(&out);
}

}  // namespace
