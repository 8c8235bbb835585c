// Every text the status-word accessors print: range refusals on the history
// device (through zarn::rtopipe::report) and the pre-connection assertion lines.
#ifndef ZARN_VARUTL_VARUTL_MESSAGES_H
#define ZARN_VARUTL_VARUTL_MESSAGES_H

namespace zarn::varutl::msg {

inline constexpr char kSpecRange[] = "!! varSetSpec: spec is out of range. %i\n";
inline constexpr char kPhysicalTypeRange[] = "!! varSetPhysicalType: physical type is out of range. %i\n";
inline constexpr char kConnectedRange[] = "!! varSetConnected: value is out of range. %i\n";
inline constexpr char kTypeRange[] = "!! varSetType: variable type is out of range. %i\n";
inline constexpr char kBoundTypeRange[] = "!! varSetBoundType: bound type is out of range. %i\n";
inline constexpr char kMathTypeRange[] = "!! u3rpmt_c: math type is out of range. %i\n";

// Assertion lines of u3r_set_precon1/2, in the order spec low, spec high,
// connection low, connection high.
inline constexpr const char *kAssertSource = "source/varutl/u3relutl";
inline constexpr const char *kPrecon1[4] = {
    "u3r_set_precon1: spec < VAR_CALC", "u3r_set_precon1: spec > VAR_INITIAL",
    "u3r_set_precon1: connected < VAR_NOT_CONNECTED", "u3r_set_precon1: connected > VAR_CONNECTED_PARAM"};
inline constexpr const char *kPrecon2[4] = {
    "u3r_set_precon2: spec < VAR_CALC", "u3r_set_precon2: spec > VAR_INITIAL",
    "u3r_set_precon2: connected < VAR_NOT_CONNECTED", "u3r_set_precon2: connected > VAR_CONNECTED_PARAM"};

}  // namespace zarn::varutl::msg

#endif
