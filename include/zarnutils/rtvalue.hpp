// The host's evaluation context, through which values reach the names of the
// model and the parameters. The host implements it; the library calls the
// operations at the positions given (the order of the virtual table is the
// binary contract), and never the reserved ones, which belong to the host.
#ifndef ZARNUTILS_RTVALUE_HPP
#define ZARNUTILS_RTVALUE_HPP

#include "zarnutils/rtvalue.h"

#include <string>
#include <vector>

// Host records and objects the model-asking value functions use. Only the
// positions the library calls are named; the others are the host's own.

// One variable's record as a variable source fills it; the library reads the name.
struct QDLVariableData {
    char name[ZARN_NAME_BUF];  // up to ZARN_NAME_MAX characters and the terminator
};

// The first and last variable index of a block (inclusive).
struct QDLBlockRecord {
    int32_t first;
    int32_t last;
};

// Names the host hands back, in order.
struct QDLStringVector {
    std::vector<std::string> names;
};

// The variables a query selected.
struct QDLResultSet {
    virtual void Release() = 0;  // 0: the library is done with the set
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual void Reserved3() {}
    virtual void Reserved4() {}
    virtual void Reserved5() {}
    virtual void Reserved6() {}
    virtual void Reserved7() {}
    virtual int32_t Count() = 0;        // 8: the number of results
    virtual int32_t At(int32_t i) = 0;  // 9: the variable index of result i (from 0)

  protected:
    ~QDLResultSet() = default;
};

// The model's variables.
struct QDLVariableSource {
    virtual void Reserved0() {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual void Reserved3() {}
    // 4: fills record with the variable's data; false when there is no such variable.
    virtual bool Load(int32_t index, QDLVariableData *record, bool names) = 0;
    virtual void Reserved5() {}
    virtual void Reserved6() {}
    virtual void Reserved7() {}
    // 8: runs a query over the variables; null when it selects nothing or fails.
    virtual QDLResultSet *Query(const char *text) = 0;

  protected:
    ~QDLVariableSource() = default;
};

struct IValueContext {
    virtual void Reserved0() = 0;  // 0
    // out receives the named object's value, or stays UNDEFINED.
    virtual void Resolve(const char *name, value_t *out) = 0;  // 1
    // out, preset to the IDENTIFIER "IDENTIFIER", may be replaced by the object's kind.
    virtual void TypeOf(const char *name, value_t *out) = 0;                   // 2
    virtual bool BlockVariables(const char *name, QDLBlockRecord *block) = 0;  // 3
    virtual QDLVariableSource *Variables() = 0;                                // 4
    virtual void Reserved5() = 0;                                              // 5
    virtual bool IsDefined(const char *name) = 0;                              // 6
    // out receives the parameter's value, or stays UNDEFINED.
    virtual void ParameterValue(const char *name, value_t *out) = 0;              // 7
    virtual void Reserved8() = 0;                                                 // 8
    virtual bool SpecGroupsByVar(const char *query, QDLStringVector *out) = 0;    // 9
    virtual bool MeasurementsByVar(const char *query, QDLStringVector *out) = 0;  // 10
    virtual bool ConnectionsByVar(const char *query, QDLStringVector *out) = 0;   // 11
    virtual bool AliasesByVar(const char *query, QDLStringVector *out) = 0;       // 12
    virtual bool ActiveConnections(QDLStringVector *out) = 0;                     // 13
    virtual bool InactiveConnections(QDLStringVector *out) = 0;                   // 14
    virtual bool ActiveSpecGroups(QDLStringVector *out) = 0;                      // 15
    virtual bool InactiveSpecGroups(QDLStringVector *out) = 0;                    // 16
    virtual bool ActiveMeasurements(QDLStringVector *out) = 0;                    // 17
    virtual bool InactiveMeasurements(QDLStringVector *out) = 0;                  // 18
    // Passed to the accessors of linked parameters.
    virtual void *AccessorHandle() = 0;                                   // 19
    virtual void Attributes(const char *name, QDLStringVector *out) = 0;  // 20

  protected:
    ~IValueContext() = default;
};

#endif
