// zarn units: the physical types of the units catalogue, a type's units, and
// conversions between units (gauge and price units included), all through
// the library's units table.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "zarn.h"
#include "zarnutils/rtuom.h"

namespace zarn::cli {
namespace {

// A physical type given by its number (0..148), its catalogue name in any case,
// or "$/" and either of those for the price type: the type code, or false.
bool resolve_type(const char *text, int *ptype) {
    bool price = false;
    if (text[0] == '$' && text[1] == '/') {
        price = true;
        text += 2;
    }
    int64_t number = -1;
    int t = -1;
    if (parse_integer(text, &number)) {
        if (number >= 0 && number < RTOUOM_NTYPES) t = static_cast<int>(number);
    } else {
        t = pt_lookup(text);
        if (t < 0) {
            std::string upper(text);
            for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            t = pt_lookup(upper.c_str());
        }
    }
    if (t < 0 || (price && t == 0)) return false;  // UNTYPED has no price form
    *ptype = price ? -t : t;
    return true;
}

int types(const Call &) {
    std::printf("%4s %-14s %5s %s\n", "TYPE", "NAME", "UNITS", "SI UNIT");
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        const char *si = rtouom_count[t] > 0 ? rtouom_uom_name(t, 1) : "";
        std::printf("%4d %-14s %5d %s\n", t, rtouom_ptype_name(t), rtouom_count[t], si != nullptr ? si : "");
    }
    return kDone;
}

int list(const Call &call) {
    int ptype = 0;
    if (!resolve_type(call.args[0], &ptype))
        return fail(
            call, std::string("unknown physical type '") + call.args[0] + "' (zarn units types lists them)");
    const int p = ptype < 0 ? -ptype : ptype;
    if (rtouom_count[p] == 0)
        return report(call, std::string(rtouom_ptype_name(ptype)) + " has no units", kNothing);
    rtopipe *out = create_ascii_stream_rtopipe(stdout, "standard output", 0);
    if (out == nullptr) return fail(call, "cannot write to standard output");
    rtouom_print_header(out);
    for (int uom = 1; uom <= rtouom_count[p]; ++uom) rtouom_print_uom(out, ptype, uom);
    rtodestroy(out);
    const std::string said = take_messages();
    return said.empty() ? kDone : fail(call, said);
}

// A unit by name: (type, index), or false. A unit several types list is
// taken from `within` when it lists it.
bool resolve_unit(const char *name, int within, int *ptype, int *uom) {
    if (within != 0) {
        int u = 0;
        rtouom_ptype_locate2(name, within, &u);
        if (u > 0) {
            *ptype = within;
            *uom = u;
            return true;
        }
    }
    rtouom_locate2(name, ptype, uom);
    drop_messages();
    return *uom > 0;
}

std::string type_name(int ptype) { return rtouom_ptype_name(ptype); }

int convert(const Call &call) {
    double value = 0.0;
    if (!parse_number(call.args[0], &value))
        return fail(call, std::string("VALUE must be a number, not '") + call.args[0] + "'");
    int from_type = 0, from_uom = 0;
    if (!resolve_unit(call.args[1], 0, &from_type, &from_uom))
        return fail(call, std::string("unknown unit '") + call.args[1] +
                              "' (zarn units list TYPE shows a type's units)");
    int to_type = from_type, to_uom = 1;
    if (call.args.size() > 2) {
        if (!resolve_unit(call.args[2], from_type, &to_type, &to_uom))
            return fail(call, std::string("unknown unit '") + call.args[2] +
                                  "' (zarn units list TYPE shows a type's units)");
        if (to_type != from_type && !rtouom_ptype_equal(from_type, to_type))
            return fail(call, std::string("'") + call.args[1] + "' (" + type_name(from_type) + ") and '" +
                                  call.args[2] + "' (" + type_name(to_type) +
                                  ") measure different quantities");
    }
    const bool difference = call.option;
    const double si = difference ? rtouom_delta_pair2si(value, from_type, from_uom)
                                 : rtouom_pair2si(value, from_type, from_uom);
    const double result =
        difference ? rtouom_delta_si2pair(si, to_type, to_uom) : rtouom_si2pair(si, to_type, to_uom);
    // Names of price units live in one shared buffer: take each before the next call.
    const std::string from_name = rtouom_uom_name(from_type, from_uom);
    const std::string to_name = rtouom_uom_name(to_type, to_uom);
    const std::string said = take_messages();
    if (!said.empty()) return fail(call, said);
    // Twelve significant digits: the catalogue's multipliers hold fifteen, and
    // an offset subtracted again leaves noise in the last of them.
    std::printf("%s %s = %.12g %s\n", number(value).c_str(), from_name.c_str(), result, to_name.c_str());
    return kDone;
}

const Command kCommands[] = {
    {"types", "", "list the physical types with their number of units and SI unit",
     "One line per type of the units catalogue: its number, its name, how many\n"
     "units it has and its SI unit (unit 1).\n"
     "\n"
     "example: zarn units types",
     0, 0, nullptr, types},
    {"list", "TYPE", "list the units of a physical type",
     "TYPE is a type's number, its name (any case), or \"$/\" and either for the\n"
     "type's price units (money per unit). One line per unit: name, type, P for\n"
     "a built-in unit, multiplier and offset to SI. Exit 1 when the type has no\n"
     "units.\n"
     "\n"
     "example: zarn units list PRESSURE",
     1, 1, nullptr, list},
    {"convert", "VALUE FROM [TO]", "convert a value between units (to SI when TO is left out)",
     "FROM and TO are unit names as the catalogue spells them (PSIG, F, $/MMBTU);\n"
     "both must measure the same physical type. Gauge units carry the ambient\n"
     "pressure. With --difference the value is a difference (a step, a change):\n"
     "no offset is applied.\n"
     "\n"
     "example: zarn units convert 30 PSIG PSIA\n"
     "         zarn units convert --difference 10 F K",
     2, 3, "--difference", convert},
};

}  // namespace

const Family kUnitsFamily = {"units", "physical types, units and conversions", kCommands,
                             sizeof kCommands / sizeof kCommands[0]};

}  // namespace zarn::cli
