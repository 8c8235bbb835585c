// The host's block object, which the variable list tells of changed
// variables and the query engines ask for a block's objects; and the query
// engines' variable record. C++ only; the C header rtvarlst.h names the block
// as an opaque struct.
#ifndef ZARNUTILS_RTVARLST_HPP
#define ZARNUTILS_RTVARLST_HPP

#include "zarnutils/attrcatalog.h"
#include "zarnutils/rtvarlst.h"

struct value_t;
struct QDLEOCntr;
struct QDLEquationData;
struct QDLParameterData;
struct qdl_port;

// The kinds of objects a block holds, as the query engines count them.
enum QDLObjectKind : int32_t {
    QDL_VARIABLES = 0,
    QDL_EQUATIONS = 1,
    QDL_PARAMETERS = 2,
    QDL_PORTS = 3,
};

// The kind of a query attribute (BaseType of the records).
enum QDLAttributeKind : int {
    QDL_KIND_NONE = 0,       // cannot be compared (a pointer)
    QDL_KIND_REAL = 'R',     // a double
    QDL_KIND_TEXT = 'T',     // a text
    QDL_KIND_INTEGER = 'I',  // a 32-bit integer
    QDL_KIND_ENUM = 'E',     // a code with words
    QDL_KIND_VALUE = 'V',    // a value of the command language (value_t)
};

// A block of the host model. The variable list tells it which variable
// changed and asks it for the object handed on with the change event; the
// query engines ask it for its objects. The block belongs to the host. The
// operations after the first two answer as a block without objects unless
// the host overrides them. Object numbers are 1-based within the block.
struct ZARN_API QDLEOBlock {
    // Variable absolute_index (1-based, in the head list) has changed.
    virtual void VariableChanged(int32_t absolute_index) = 0;
    // The object passed on with the change event, or NULL.
    virtual void *AssociatedObject() = 0;
    // The prefix of the block's object names (without the "." that follows
    // it), or NULL when its names carry none.
    virtual const char *NamePrefix() { return nullptr; }
    // How many objects of a QDLObjectKind the block holds.
    virtual int32_t ObjectCount(int32_t kind) { return 0; }
    // The variable list whose items 1..n are the block's variables, or NULL.
    virtual rtvarlst_t *VariableList() { return nullptr; }
    // Fills record with equation number's attributes (those of record->mask);
    // false when there is no such equation.
    virtual bool LoadEquation(int32_t number, QDLEquationData *record) { return false; }
    // Writes the attributes of record->mask back; false when refused.
    virtual bool CommitEquation(int32_t number, const QDLEquationData *record) { return false; }
    // Likewise for parameters.
    virtual bool LoadParameter(int32_t number, QDLParameterData *record) { return false; }
    virtual bool CommitParameter(int32_t number, const QDLParameterData *record) { return false; }
    // Whether the user changed the attribute (a parameter record id) of parameter number.
    virtual bool ParameterModified(int32_t number, int32_t attribute) { return false; }
    // The port object of that number (belongs to the host), or NULL.
    virtual qdl_port *Port(int32_t number) { return nullptr; }

  protected:
    ~QDLEOBlock() = default;
};

// The full columns of a variable list, fetched once for many loads of its
// variables (QDLVariableData::Load); valid while the list keeps its capacity
// and size.
struct QDLVariableColumns {
    rtvarlst_t *list;       // the list they belong to
    int32_t count;          // its variables that have cells (a window past its cut head: fewer)
    const int64_t *status;  // element k - 1 is variable k
    const int64_t *baseuom;
    const int64_t *uom;
    const double *value;
    const double *init;
    const double *lower;
    const double *upper;
    const double *intscale;  // the SCALE column
    const double *scale;     // the SLVSCALE column
    const double *shadow_price;
};

// One variable as the query engines see it: the variable record of
// rtvarlst.h (whose mask says which fields are meant) and the fields a query
// adds. The attribute ids are the record's field codes (a negative id is a
// bit of the second mask); a record loaded under a mask holds exactly the
// attributes of the mask. Reals are held in SI, or in the variable's display
// unit when loaded with user units. The value functions make one of these
// and hand it to the host's variable source to fill.
struct ZARN_API QDLVariableData : rtvarinfo_t {
    typedef rtvarmask_t CMask;

    enum EAttribId : int32_t {
#define ZARN_QUERY_ID(name, id) name = id,
        ZARN_QUERY_VARIABLE_ATTRIBUTES(ZARN_QUERY_ID)
#undef ZARN_QUERY_ID
    };

    // Longest physical-type name kept, and room for a unit name.
    static constexpr int kTypeNameMax = 52;
    static constexpr int kUnitNameSize = 40;

    int32_t number;                        // NUMBER: the object number in its block
    int32_t spec;                          // SPEC code
    int32_t marked;                        // MARKED, 0 or 1
    int32_t physical_type_id;              // PHYSICAL_TYPE_ID
    int32_t bound;                         // BOUND code
    int32_t variable_type;                 // VARIABLE_TYPE code
    double change;                         // CHANGE: VALUE - INIT, in the unit of both
    char physical_type[kTypeNameMax + 1];  // PHYSICAL_TYPE name
    char uom_name[kUnitNameSize];          // UOM: the display unit's name
    char baseuom_name[kUnitNameSize];      // BASEUOM: the base unit's name
    bool user_units;                       // the reals are in the display unit

    // The factors of the last display unit met (x_display = x_si * f + o),
    // kept while that unit's entry in the units table stays the same.
    struct UnitFactors {
        int32_t ptype = 0;
        double multiplier = 0.0, offset = 0.0;  // the entry they were taken from
        double f = 1.0, o = 0.0;
        bool known = false;
    };

    // An empty record: both masks clear, every field zero.
    QDLVariableData()
        : rtvarinfo_t{},
          number(0),
          spec(0),
          marked(0),
          physical_type_id(0),
          bound(0),
          variable_type(0),
          change(0.0),
          physical_type{},
          uom_name{},
          baseuom_name{},
          user_units(false) {}

    // The attribute's name, or NULL for an unknown id.
    static const char *AttribName(int32_t id);
    // The id of a name or of one of its synonyms, ignoring case; 0 when unknown.
    static int32_t AttribId(const char *name);
    // A QDLAttributeKind; an unknown id prints an assertion line and gives QDL_KIND_NONE.
    static int BaseType(int32_t id);
    // The query word of an enumeration's code, or NULL (not an enumeration, no word).
    static const char *EnumToString(int32_t id, int32_t code);
    // The code of an enumeration's word (any case; synonyms too); false when unknown.
    static bool StringToEnum(int32_t id, const char *word, int32_t &code);

    // The attribute's value; false when it is not loaded or not of that kind.
    bool GetValue(int32_t id, int32_t &out) const;
    bool GetValue(int32_t id, double &out) const;
    bool GetValue(int32_t id, const char *&out) const;  // points into the record or the list
    // A value: reals as REAL numbers in SI with the variable's type and display
    // unit, integers as INTEGERs, texts and words as STRINGs. out must be valid.
    bool GetValue(int32_t id, value_t &out) const;
    bool GetValue(int32_t id, CMask &out) const;  // MODIFIED
    // Sets the attribute and adds it to the mask; false when it cannot be set so.
    bool SetValue(int32_t id, int32_t value);
    bool SetValue(int32_t id, double value);
    bool SetValue(int32_t id, const char *value);   // DESCRIPTION: the text is not copied
    bool SetValue(int32_t id, const CMask &value);  // MODIFIED

    // Whether the modification record marks the attribute: the bits an
    // assignment of it sets (its own bit when it has none).
    bool IsModified(int32_t id) const;
    void SetIsModified(int32_t id, bool flag);
    // The SPEC counts as fixed in the current problem mode.
    bool IsFixed() const;

    // Fills the record from item index of list (1-based) under its mask;
    // false, and the record unchanged, for a NULL list or a bad index.
    bool Load(rtvarlst_t *list, int32_t index, bool user_units);
    // Writes the writable attributes of the mask to item index; false for a
    // NULL list or a bad index.
    bool Commit(rtvarlst_t *list, int32_t index) const;
    // The same through columns fetched before (GetColumns); false for an
    // index outside 1..count.
    bool Load(const QDLVariableColumns &columns, int32_t index, bool user_units);
    // Fetches the columns of list; false (out cleared) for a NULL list.
    static bool GetColumns(rtvarlst_t *list, QDLVariableColumns &out);
    // The same for object number of the block (without a block, of the
    // container), through the variable list it reports.
    bool Load(QDLEOCntr *container, QDLEOBlock *block, int32_t number, bool user_units);
    bool Commit(QDLEOCntr *container, QDLEOBlock *block, int32_t number) const;
    // Names item index (just made room for) and initialises it from the
    // record's fields as the list holds them (rtovarlst_initialize_var, in SI).
    bool Create(rtvarlst_t *list, int32_t index) const;

  private:
    bool DoLoad(rtvarlst_t *list, int32_t index, bool user_units, const QDLVariableColumns *columns);
    bool DoCommit(rtvarlst_t *list, int32_t index) const;
    // A real attribute as item index holds it to SI (or the display unit
    // with user units), and back.
    double ScaleValue(rtvarlst_t *list, int32_t index, int32_t id, double held) const;
    double UnscaleValue(rtvarlst_t *list, int32_t index, int32_t id, double x) const;
    // x_display = x_si * f + o for the record's type and display unit.
    void DisplayFactors(double &f, double &o) const;
    mutable UnitFactors units_;
};

#endif
