// Every text the value and parameter functions print: history messages,
// assertion texts and kind names.
#ifndef ZARN_RTVALUE_RTVALUE_MESSAGES_H
#define ZARN_RTVALUE_RTVALUE_MESSAGES_H

namespace zarn::rtvalue::msg {

// ---- history device
inline constexpr char kOpenFileFor[] = "Unable to open file %s for %s: %s\n";
inline constexpr char kOpenBinaryFor[] = "Unable to open binary file %s for %s: %s\n";
inline constexpr char kOpenFile[] = "Unable to open file: %s\n";
inline constexpr char kNoMemory[] = "Unable to allocate memory!\n";
inline constexpr char kNoFile[] = "File \"%s\" does not exist\n";
inline constexpr char kOutOfMemory[] = "!!! %s: unable to allocate memory\n";
inline constexpr char kNoIntegerPattern[] = "!!! value_coerce: Unable to make regular expression for integer\n";
inline constexpr char kNoRealPattern[] = "!!! value_coerce: Unable to make regular expression for real\n";
inline constexpr char kNoUomPattern[] = "!!! value_coerce: Unable to make regular expression for real with UOM\n";
inline constexpr char kPatternError[] = "!!! value_coerce: %s\n";

// ---- assertion texts (source/rtvalue/rtvalue)
inline constexpr char kBadValueType[] = "!!! %s: bad value type";
inline constexpr char kPipeBadValueType[] = "!!! value_assign_pipe: bad value_type";  // documented as is
inline constexpr char kNullText[] = "!!! %s: NULL text";
inline constexpr char kNullPipe[] = "!!! value_assign_pipe: NULL pipe";
inline constexpr char kListNull[] = "!!! value_assign_list: NULL list pointer";
inline constexpr char kEnumNull[] = "!!! value_assign_enum: NULL list pointer";
inline constexpr char kNotEnum[] = "!!! %s: value not an enum_value";
inline constexpr char kNotBounded[] = "!!! %s: value not an boundednumber_value";  // documented as is
inline constexpr char kCopySrc[] = "!!! value_copy: src is bad value";
inline constexpr char kCopyDest[] = "!!! value_copy: dest is bad value";
inline constexpr char kBadArgument[] = "!!! %s: bad argument";
inline constexpr char kResultBad[] = "!!! %s: result is a bad value";

// Names of the kinds as value_typeof gives them, by value_type.
inline constexpr const char *kTypeofNames[] = {"UNDEFINED", "NUMBER", "STRING", "IDENTIFIER", "REGEXP", "GLOB",
                                               "BOOLEAN", "PIPE", "LIST", "RANGE", "ENUMERATION", "BOUNDEDNUMBER"};

}  // namespace zarn::rtvalue::msg

#endif
