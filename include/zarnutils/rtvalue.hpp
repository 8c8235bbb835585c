// The host's evaluation context, through which values reach the names of the
// model and the parameters. The host implements it; the library calls the
// operations at the positions given (the order of the virtual table is the
// binary contract), and never the reserved ones, which belong to the host.
#ifndef ZARNUTILS_RTVALUE_HPP
#define ZARNUTILS_RTVALUE_HPP

#include "zarnutils/rtvalue.h"

// Host records the library only passes along or reads through the host.
struct QDLVariableSource;  // the model's variables (Variables)
struct QDLBlockRecord;     // first and last variable index of a block
struct QDLStringVector;    // a vector of names the host fills

struct IValueContext {
    virtual void Reserved0() = 0;                                                     // 0
    // out receives the named object's value, or stays UNDEFINED.
    virtual void Resolve(const char *name, value_t *out) = 0;                         // 1
    // out, preset to the IDENTIFIER "IDENTIFIER", may be replaced by the object's kind.
    virtual void TypeOf(const char *name, value_t *out) = 0;                          // 2
    virtual bool BlockVariables(const char *name, QDLBlockRecord *block) = 0;         // 3
    virtual QDLVariableSource *Variables() = 0;                                       // 4
    virtual void Reserved5() = 0;                                                     // 5
    virtual bool IsDefined(const char *name) = 0;                                     // 6
    // out receives the parameter's value, or stays UNDEFINED.
    virtual void ParameterValue(const char *name, value_t *out) = 0;                  // 7
    virtual void Reserved8() = 0;                                                     // 8
    virtual bool SpecGroupsByVar(const char *query, QDLStringVector *out) = 0;        // 9
    virtual bool MeasurementsByVar(const char *query, QDLStringVector *out) = 0;      // 10
    virtual bool ConnectionsByVar(const char *query, QDLStringVector *out) = 0;       // 11
    virtual bool AliasesByVar(const char *query, QDLStringVector *out) = 0;           // 12
    virtual bool ActiveConnections(QDLStringVector *out) = 0;                         // 13
    virtual bool InactiveConnections(QDLStringVector *out) = 0;                       // 14
    virtual bool ActiveSpecGroups(QDLStringVector *out) = 0;                          // 15
    virtual bool InactiveSpecGroups(QDLStringVector *out) = 0;                        // 16
    virtual bool ActiveMeasurements(QDLStringVector *out) = 0;                        // 17
    virtual bool InactiveMeasurements(QDLStringVector *out) = 0;                      // 18
    // Passed to the accessors of linked parameters.
    virtual void *AccessorHandle() = 0;                                               // 19
    virtual void Attributes(const char *name, QDLStringVector *out) = 0;              // 20

protected:
    ~IValueContext() = default;
};

#endif
