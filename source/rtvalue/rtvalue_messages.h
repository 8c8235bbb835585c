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

// ---- operators: history device
inline constexpr char kBadChange[] = "!! bad # expression:%s\n";
inline constexpr char kBadCoerce[] = "!! bad ## expression:%s%s\n";
inline constexpr char kLeftWrong[] = " left hand side undefined or wrong type";
inline constexpr char kRightNotUom[] = " right hand side undefined or not UOM";
inline constexpr char kRightWrong[] = " right hand side undefined or wrong type";
inline constexpr char kUnknownUom[] = "!! unknown UOM %s unable to coerce ";  // then the value, then kToUnit
inline constexpr char kCannotChange[] = "!! unable to change the UOM of ";    // then the value, then kToUnit
inline constexpr char kToUnit[] = " to {%s}\n";
inline constexpr char kBothTyped[] = "Bad ## expression: both sides are typed.\n";
// standard error
inline constexpr char kEqualKind[] = "!! value_equal: Unexpected value type\n";

// ---- string functions: history device, by function (count, then each argument)
inline constexpr const char *kSubstr[] = {
    "Invalid number of arguments to substr(str,pos[,len])\n",
    "The str argument to substr(str,pos[,len]) is not a string\n",
    "The pos argument to substr(str,pos[,len]) is not valid\n",
    "The len argument to substr(str,pos,len) is not valid\n"};  // documented as is
inline constexpr const char *kIndex[] = {
    "Invalid number of arguments to index(str,substr[,pos])\n",
    "The str argument to index(str,substr[,pos]) is not a string\n",
    "The substr argument to index(str,substr[,pos]) is not valid\n",
    "The pos argument to index(str,substr,pos) is not valid\n"};  // documented as is
inline constexpr const char *kInsert[] = {"Invalid number of arguments to insertstr(str,sstr,pos)\n",
                                          "The str argument to insertstr(str,sstr,pos) is not a string\n",
                                          "The sstr argument to insertstr(str,sstr,pos) is not valid\n",
                                          "The pos argument to insertstr(str,sstr,pos) is not valid\n"};
inline constexpr const char *kRemove[] = {"Invalid number of arguments to removestr(str,pos,len)\n",
                                          "The str argument to removestr(str,pos,len) is not a string\n",
                                          "The pos argument to removestr(str,pos,len) is not valid\n",
                                          "The len argument to removestr(str,pos,len) is not valid\n"};

// ---- names queries sent to the host
inline constexpr char kQueryOr[] = " or ";
inline constexpr char kQueryName[] = "name=";
inline constexpr char kQueryAll[] = "name=*.*";  // v named nothing: every variable

// ---- assertion texts (source/rtvalue/rtvalue)
inline constexpr char kBadValueType[] = "!!! %s: bad value type";
inline constexpr char kPipeBadValueType[] = "!!! value_assign_pipe: bad value_type";  // documented as is
inline constexpr char kNullText[] = "!!! %s: NULL text";
inline constexpr char kNullPipe[] = "!!! value_assign_pipe: NULL pipe";
inline constexpr char kListNull[] = "!!! value_assign_list: NULL list pointer";
inline constexpr char kEnumNull[] = "!!! value_assign_enum: NULL list pointer";
inline constexpr char kEnumEmpty[] = "!!! value_assign_enum: empty list";
inline constexpr char kBadItem[] = "!!! %s: bad list item";
inline constexpr char kTooDeep[] = "!!! %s: lists nested more than 1000 levels";
inline constexpr char kNotEnum[] = "!!! %s: value not an enum_value";
inline constexpr char kNotBounded[] = "!!! %s: value not an boundednumber_value";  // documented as is
inline constexpr char kCopySrc[] = "!!! value_copy: src is bad value";
inline constexpr char kCopyDest[] = "!!! value_copy: dest is bad value";
inline constexpr char kBadArgument[] = "!!! %s: bad argument";
inline constexpr char kResultBad[] = "!!! %s: result is a bad value";
inline constexpr char kBadLeft[] = "!!! %s: bad left hand side";
inline constexpr char kBadRight[] = "!!! %s: bad right hand side";
inline constexpr char kBadQueryArgs[] = "!!! %s: bad query text arguments";

// ---- parameters: history device
inline constexpr char kSetInvalidName[] =
    "!!! param_set: invalid parameter name %s.\n!!! Parameters must start with A-Z and contain only A-Z, "
    "0-9, and _.\n";
inline constexpr char kSetReadOnly[] = "!!! param_set: assignment to read-only parameter %s\n";
inline constexpr char kSetKind[] = "!!! param_set: assignment of a %s value to a %s parameter\n";
inline constexpr char kReadInvalidName[] = "!! param_read: invalid parameter name %s\n";
inline constexpr char kLinkedUnable[] = "!!! param_create_linked: unable to add linked parameter %s\n";
inline constexpr char kLinkedExists[] = "!!! param_create_linked: variable of that name already exists\n";
inline constexpr char kLinkedInvalidName[] =
    "!!! param_create_linked: Invalid parameter name %s\n!!! Parameters must start with A-Z and contain only "
    "A-Z, "
    "0-9, and _.\n";
inline constexpr char kShowHeader[] = "The following parameters are %s defined\n";
inline constexpr char kShowLine[] = "   %s%s\n";
inline constexpr char kShowReadOnly[] = " - read only";
inline constexpr char kShowNone[] = "There are no %s defined parameters\n";

// ---- parameters: assertion texts (source/rtvalue/rtparam)
inline constexpr char kInitTwice[] = "!!! param_init called twice";
inline constexpr char kDestroyNoTable[] = "!!! param_destroy: NULL param_hash_table";
inline constexpr char kDefineNoLocal[] = "!!! param_create_local: NULL local_hash_table";  // documented as is
inline constexpr char kReadBadResult[] = "param_read: bad value for result";               // documented as is
inline constexpr char kSetBadValue[] = "!!! param_set: bad value";
inline constexpr char kNoGlobalTable[] = "!!! param: no global parameter table";

// Kind names of the parameter messages, by value_type.
inline constexpr const char *kParamKindNames[] = {"undefined",
                                                  "number",
                                                  "string",
                                                  "identifer",  // documented as is
                                                  "regular expression",
                                                  "glob regular expression",
                                                  "logical",
                                                  "pipe",
                                                  "list",
                                                  "range",
                                                  "enumeration",
                                                  "boundednumber"};

// Names of the kinds as value_typeof gives them, by value_type.
inline constexpr const char *kTypeofNames[] = {"UNDEFINED", "NUMBER", "STRING",      "IDENTIFIER",
                                               "REGEXP",    "GLOB",   "BOOLEAN",     "PIPE",
                                               "LIST",      "RANGE",  "ENUMERATION", "BOUNDEDNUMBER"};

}  // namespace zarn::rtvalue::msg

#endif
