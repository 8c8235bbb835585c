// Query engines (docs/query.md): a host runs a query over the variables,
// equations, parameters or ports of one block of its model and reads the
// numbers of the objects that pass. The engines read the objects through
// data records that the host's container and block fill (or, for variables,
// through the variable list the block reports).
//
// Ownership: an engine borrows its container and block and holds one
// reference to its variable source; the host releases the engine with
// Release. Records own their texts and values. Object numbers are 1-based
// within the block. Build errors of a query are printed on the history device
// rtHisDev. Single-threaded; a host that calls back into an engine while it
// runs or reads a query (from a load or a lookup) is refused with a message.
#ifndef ZARNUTILS_QDLQUERY_HPP
#define ZARNUTILS_QDLQUERY_HPP

#include <cstdint>

#include "zarnutils/com.h"
#include "zarnutils/qdlstring.hpp"
#include "zarnutils/qdlvarquery.hpp"
#include "zarnutils/rtvalue.hpp"
#include "zarnutils/rtvarlst.hpp"

// A port of the host model (belongs to the host). The codes are those of
// the port record's words (docs/attributes.md, "Query records").
struct ZARN_API qdl_port {
    virtual const char *Name() = 0;           // NULL when it has none
    virtual int32_t Type() = 0;               // TYPE code
    virtual int32_t Direction() = 0;          // DIRECTION code
    virtual int32_t Basis() = 0;              // BASIS code
    virtual int32_t Phase() = 0;              // PHASE code
    virtual const char *Stream() = 0;         // the connected stream's name, or NULL
    virtual int32_t SpecialOrderedSet() = 0;  // SPECIAL_ORDERED_SET code

  protected:
    ~qdl_port() = default;
};

// The host's container of blocks. Its object operations answer for the whole
// model; an engine made without a block asks them instead of the block's.
struct ZARN_API QDLEOCntr {
    virtual int32_t ObjectCount(int32_t kind) = 0;                                   // 0: of a QDLObjectKind
    virtual rtvarlst_t *VariableList() = 0;                                          // 1: items 1..n, or NULL
    virtual bool LoadEquation(int32_t number, QDLEquationData *record) = 0;          // 2
    virtual bool CommitEquation(int32_t number, const QDLEquationData *record) = 0;  // 3
    virtual bool LoadParameter(int32_t number, QDLParameterData *record) = 0;        // 4
    virtual bool CommitParameter(int32_t number, const QDLParameterData *record) = 0;  // 5
    virtual bool ParameterModified(int32_t number, int32_t attribute) = 0;             // 6
    virtual qdl_port *Port(int32_t number) = 0;                                        // 7
    virtual void Reserved8() {}
    virtual void Reserved9() {}
    virtual void Reserved10() {}
    virtual void Reserved11() {}
    virtual void Reserved12() {}
    virtual void Reserved13() {}
    virtual void Reserved14() {}
    virtual void Reserved15() {}
    virtual void Reserved16() {}
    virtual void Reserved17() {}
    virtual void Reserved18() {}
    virtual void Reserved19() {}
    virtual void Reserved20() {}
    virtual void Reserved21() {}
    virtual void Reserved22() {}
    virtual void Reserved23() {}
    // 24: the variable source of block (NULL: of the whole model) with one
    // reference for the caller, or NULL.
    virtual QDLVariableSource *VariableSource(QDLEOBlock *block) = 0;

  protected:
    ~QDLEOCntr() = default;
};

// One equation: filled by the host (SetValue) when the engine loads it.
struct ZARN_API QDLEquationData {
    typedef rtvarmask_t CMask;
    enum EAttribId : int32_t {
#define ZARN_QUERY_ID(name, id) name = id,
        ZARN_QUERY_EQUATION_ATTRIBUTES(ZARN_QUERY_ID)
#undef ZARN_QUERY_ID
    };

    CMask mask;      // the attributes asked for
    CMask loaded;    // the attributes the record holds
    int32_t number;  // NUMBER
    QDLString name;
    double value, scale, shadow_price;

    QDLEquationData();

    static const char *AttribName(int32_t id);                  // NULL for an unknown id
    static int32_t AttribId(const char *name);                  // ignoring case; 0 when unknown
    static int BaseType(int32_t id);                            // a QDLAttributeKind
    static const char *EnumToString(int32_t id, int32_t code);  // no enumerations: NULL
    static bool StringToEnum(int32_t id, const char *word, int32_t &code);

    bool GetValue(int32_t id, int32_t &out) const;
    bool GetValue(int32_t id, double &out) const;
    bool GetValue(int32_t id, const char *&out) const;
    bool GetValue(int32_t id, value_t &out) const;
    // Sets an attribute and marks it held; false for an id of another kind.
    bool SetValue(int32_t id, int32_t value);
    bool SetValue(int32_t id, double value);
    bool SetValue(int32_t id, const char *value);

    // Empties the record (keeping mask) and asks the block, or without a
    // block the container, to fill it; false when the host has no such object.
    bool Load(QDLEOCntr *container, QDLEOBlock *block, int32_t number, bool user_units);
    bool Commit(QDLEOCntr *container, QDLEOBlock *block, int32_t number) const;
};

// One parameter: filled by the host. VALUE, LOWER and UPPER are values of the
// command language (value_t), which also travel as VARIANTs.
struct ZARN_API QDLParameterData {
    typedef rtvarmask_t CMask;
    enum EAttribId : int32_t {
#define ZARN_QUERY_ID(name, id) name = id,
        ZARN_QUERY_PARAMETER_ATTRIBUTES(ZARN_QUERY_ID)
#undef ZARN_QUERY_ID
    };
    // TYPE and ACCESS codes.
    enum { TYPE_BOOLEAN, TYPE_COMPONENTLIST, TYPE_DOUBLE, TYPE_INTEGER, TYPE_STRING };
    enum { ACCESS_READ_WRITE, ACCESS_READ_ONLY };

    CMask mask;
    CMask loaded;
    int32_t number;
    QDLString name, uom, description, physical_type;
    value_t value, lower, upper;  // owned
    int32_t access, type;

    QDLParameterData();
    QDLParameterData(const QDLParameterData &other);  // values deep-copied
    QDLParameterData &operator=(const QDLParameterData &other);
    ~QDLParameterData();

    static const char *AttribName(int32_t id);
    static int32_t AttribId(const char *name);
    static int BaseType(int32_t id);
    static const char *EnumToString(int32_t id, int32_t code);
    static bool StringToEnum(int32_t id, const char *word, int32_t &code);

    bool GetValue(int32_t id, int32_t &out) const;
    bool GetValue(int32_t id, double &out) const;  // no real attributes: false
    bool GetValue(int32_t id, const char *&out) const;
    bool GetValue(int32_t id, value_t &out) const;  // a copy into a valid out
    // A VARIANT (cleared first): INTEGER as VT_I4, REAL as VT_R8 (its SI
    // number), BOOLEAN as VT_BOOL, texts as VT_BSTR, a LIST of texts as a
    // VT_ARRAY | VT_BSTR, UNDEFINED as VT_EMPTY; false for another kind.
    bool GetValue(int32_t id, VARIANT &out) const;
    bool SetValue(int32_t id, int32_t value);
    bool SetValue(int32_t id, const char *value);
    bool SetValue(int32_t id, const value_t &value);  // copied
    // The reverse of GetValue(VARIANT): VT_R8 an untyped REAL, VT_BSTR a
    // STRING, an array of BSTRs a LIST of STRINGs; false for another type.
    bool SetValue(int32_t id, const VARIANT &value);

    // Whether the host says the user changed the attribute of this parameter.
    bool IsModified(QDLEOCntr *container, QDLEOBlock *block, int32_t attribute) const;
    bool Load(QDLEOCntr *container, QDLEOBlock *block, int32_t number, bool user_units);
    bool Commit(QDLEOCntr *container, QDLEOBlock *block, int32_t number) const;

  private:
    value_t *Slot(int32_t id);
    const value_t *Slot(int32_t id) const;
};

// One port: read from the host's port object.
struct ZARN_API QDLPortData {
    typedef rtvarmask_t CMask;
    enum EAttribId : int32_t {
#define ZARN_QUERY_ID(name, id) name = id,
        ZARN_QUERY_PORT_ATTRIBUTES(ZARN_QUERY_ID)
#undef ZARN_QUERY_ID
    };

    CMask mask;
    CMask loaded;
    int32_t number;
    QDLString name, stream;
    int32_t type, direction, basis, phase, special_ordered_set;

    QDLPortData();

    static const char *AttribName(int32_t id);
    static int32_t AttribId(const char *name);
    static int BaseType(int32_t id);
    static const char *EnumToString(int32_t id, int32_t code);
    static bool StringToEnum(int32_t id, const char *word, int32_t &code);

    bool GetValue(int32_t id, int32_t &out) const;
    bool GetValue(int32_t id, double &out) const;  // no real attributes: false
    bool GetValue(int32_t id, const char *&out) const;
    bool GetValue(int32_t id, value_t &out) const;

    // Reads the attributes of mask from the port of that number; false when
    // the host has no such port. Ports are not written back.
    bool Load(QDLEOCntr *container, QDLEOBlock *block, int32_t number, bool user_units);
};

// A query engine. The operations occupy the virtual table in this order.
struct ZARN_API IQDLQueryEngine {
    virtual void Release() = 0;  // 0: destroys the engine
    // 1: reads a query (docs/query.md); true when it built a tree. The old tree
    // is dropped first; a refused text leaves no tree.
    virtual bool SetQueryText(const char *text) = 0;
    virtual void Unused2() = 0;  // 2: does nothing
    // 3: later runs test only these objects, in this order (a copy is kept);
    // NULL removes the restriction. False, and nothing changed, for a
    // negative count or when memory is short.
    virtual bool SetCandidates(int32_t count, const int32_t *numbers) = 0;
    virtual void SetTolerance(double tolerance) = 0;  // 4: of real comparisons (1e-6 at first)
    // 5: the objects that pass, in the order tested.
    virtual void Execute() = 0;
    // 6: adds the objects that pass and are not yet results, each at its place
    // in ascending order; the number added.
    virtual int32_t ExecuteMore() = 0;
    // 7: drops the results that no longer pass.
    virtual void Refine() = 0;
    virtual int32_t NumResults() = 0;             // 8
    virtual int32_t ResultAt(int32_t index) = 0;  // 9: from 0; 0 when out of range
    virtual void ClearResults() = 0;              // 10

  protected:
    ~IQDLQueryEngine() = default;
};

// Makes engines over a container and a block (either may be NULL); NULL
// when memory is short.
class ZARN_API QDLQueryFactory {
  public:
    // Over the block's variable source (the container's slot 24), which it
    // initialises with the container.
    static IQDLQueryEngine *NewVariableQuery(QDLEOCntr *container, QDLEOBlock *block);
    static IQDLQueryEngine *NewEquationQuery(QDLEOCntr *container, QDLEOBlock *block);
    static IQDLQueryEngine *NewParameterQuery(QDLEOCntr *container, QDLEOBlock *block);
    static IQDLQueryEngine *NewPortQuery(QDLEOCntr *container, QDLEOBlock *block);
};

#endif
