// VARFILE processors: the text form of a variable list's state, one header
// line of attribute words and one record of fixed-width, comma-separated
// fields per variable (docs/varfile.md). RTVarDatabase is the interface of
// every processor; RTVarFileIO holds the list, the chosen attributes and the
// sets of variables taking part; RTVarFileOut writes the file. The readers
// (RTVarFileIn, RTVarFileCmp, RTVarFileInQuery, RTVarFileInWithSubs,
// RTVarFileQry) share one scanner and grammar and differ only in the
// recorder that receives the records.
//
// Ownership: a processor owns its attribute list, its variable sets (and the
// regular expressions handed to them) and the pipe it reads or writes; the
// variable list and a comparer's report pipe stay the caller's. Messages go
// to the history device rtHisDev. Single-threaded: create and run processors
// from one thread, one reader at a time.
#ifndef ZARNUTILS_VARFILE_HPP
#define ZARNUTILS_VARFILE_HPP

#include <cstddef>
#include <cstdint>

#include "zarnutils/attrcatalog.h"
#include "zarnutils/gllist.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarn_api.h"

class ZARN_API RTVarDatabase {
  public:
    // The attributes of a variable, in header order; the header word of each
    // is RTVarAttributeNames::Name. Values outside 0..27 are representable so
    // that a caller's bad number can be refused.
    // NAME, PHYSICAL_TYPE, UNITS, BASEUOM, VALUE, INIT, CHANGE, LOWER, UPPER,
    // STEP, BOUND, SPEC, SSPEC, SCALE, SBWEIGHT, QUALITY, PARAM, TARGET,
    // SHADOW_PRICE, ACTIVE_BOUND, DESCRIPTION, MODIFIED, RLOWER, RUPPER,
    // VAR_TYPE, THRESHOLD, RAMPED, CONN_TYPE: 0 to ZARN_VARFILE_ATTRIBUTE_COUNT - 1.
#define ZARN_VARFILE_ENUMERATOR(attribute) attribute,
    enum VarAttribute : int { ZARN_VARFILE_ATTRIBUTES(ZARN_VARFILE_ENUMERATOR) };
#undef ZARN_VARFILE_ENUMERATOR
    // Verbosity: warnings go to rtHisDev at level 1 or more; 0 is silent.
    enum OutputLevel : int { SILENT = 0, WARNINGS = 1 };

    virtual ~RTVarDatabase();
    virtual int GetLevel() const = 0;
    virtual void SetLevel(OutputLevel level) = 0;
    virtual void Reset() = 0;  // attributes and variable sets back to the defaults
    virtual int SupportedAttribute(VarAttribute a) const = 0;
    virtual void ClearAttributes() = 0;
    virtual void AddAttribute(VarAttribute a) = 0;     // appended; repetitions allowed
    virtual void RemoveAttribute(VarAttribute a) = 0;  // every occurrence
    virtual void ClearIncluded() = 0;
    virtual void IncludeVariable(int i) = 0;        // 1-based index
    virtual void IncludeRange(int lo, int hi) = 0;  // inclusive
    virtual void IncludeRegexp(hs_regexp *re) = 0;  // takes ownership of re
    virtual void ClearExcluded() = 0;
    virtual void ExcludeVariable(int i) = 0;
    virtual void ExcludeRange(int lo, int hi) = 0;
    virtual void ExcludeRegexp(hs_regexp *re) = 0;
    virtual void Go() = 0;  // runs the processor

    // True for the attributes computed from others: CHANGE, SSPEC, RLOWER, RUPPER.
    static int DerivedAttribute(VarAttribute a);
};

// Says which variables (1-based indices) take part.
class ZARN_API VarFilter {
  public:
    virtual ~VarFilter();
    virtual int IncludeVar(int i) const = 0;
};

// A set of variable indices.
class ZARN_API RTVarSet {
  public:
    virtual ~RTVarSet();
    virtual int Contains(rtvarlst_t *list, int i) const = 0;
};

class ZARN_API RTSingletonVarSet : public RTVarSet {
  public:
    explicit RTSingletonVarSet(int i);
    int Contains(rtvarlst_t *list, int i) const override;

  private:
    int index_;
};

class ZARN_API RTRangeVarSet : public RTVarSet {
  public:
    RTRangeVarSet(int lo, int hi);  // lo > hi holds nothing
    int Contains(rtvarlst_t *list, int i) const override;

  private:
    int lo_, hi_;
};

// The variables whose name the expression matches; owns the expression
// (NULL matches nothing).
class ZARN_API RTRegexpVarSet : public RTVarSet {
  public:
    explicit RTRegexpVarSet(hs_regexp *re);
    ~RTRegexpVarSet() override;
    RTRegexpVarSet(const RTRegexpVarSet &) = delete;
    RTRegexpVarSet &operator=(const RTRegexpVarSet &) = delete;
    int Contains(rtvarlst_t *list, int i) const override;

  private:
    hs_regexp *re_;
};

// The common base of the processors. Attribute list items are attribute
// numbers carried in the pointer itself (intptr_t), in order.
class ZARN_API RTVarFileIO : public RTVarDatabase, public VarFilter {
  public:
    // At the given level, then Reset. list may be NULL (nothing takes part).
    RTVarFileIO(rtvarlst_t *list, OutputLevel level);
    ~RTVarFileIO() override;
    RTVarFileIO(const RTVarFileIO &) = delete;
    RTVarFileIO &operator=(const RTVarFileIO &) = delete;

    int GetLevel() const override;
    void SetLevel(OutputLevel level) override;
    // No attribute; variables 1 to the list's current count; nothing excluded.
    void Reset() override;
    void ClearAttributes() override;
    // An attribute SupportedAttribute refuses is reported (level >= 1) and not added.
    void AddAttribute(VarAttribute a) override;
    void RemoveAttribute(VarAttribute a) override;
    void ClearIncluded() override;
    void IncludeVariable(int i) override;
    void IncludeRange(int lo, int hi) override;
    void IncludeRegexp(hs_regexp *re) override;
    void ClearExcluded() override;
    void ExcludeVariable(int i) override;
    void ExcludeRange(int lo, int hi) override;
    void ExcludeRegexp(hs_regexp *re) override;
    // In at least one included set and in no excluded set.
    int IncludeVar(int i) const override;

    // Nonzero when the text holds one of "* ;=,()[]{}<>&" (NULL: 0).
    static int SpecialChars(const char *text);
    // The text's length, plus 2 for the quotes SpecialChars asks for.
    static int PrintedLength(const char *text);
    // Writes the text, in single quotes when SpecialChars; no escaping inside.
    static void WriteString(rtopipe *pipe, const char *text);

  protected:
    gl_list_t *included_;  // owned RTVarSet objects
    gl_list_t *excluded_;  // owned RTVarSet objects
    OutputLevel level_;
    rtvarlst_t *list_;       // borrowed
    gl_list_t *attributes_;  // VarAttribute numbers in the pointers
};

// The writer. The attribute list starts as the 28 attributes in order.
class ZARN_API RTVarFileOut : public RTVarFileIO {
  public:
    // Takes ownership of pipe (destroyed with the writer). Widths are clamped
    // to 0..32767; the page width is widened, with a message, until it holds
    // a unit and then a real value beside the name.
    RTVarFileOut(rtopipe *pipe, rtvarlst_t *list, int nameWidth, int realWidth, int pageWidth, int uomWidth);
    ~RTVarFileOut() override;

    int SupportedAttribute(VarAttribute a) const override;  // 0..27
    void Reset() override;  // RTVarFileIO::Reset, then every supported attribute
    // Writes the file: sections of the columns that fit the page width, each
    // with its header line and a record per variable taking part. Stops at
    // Ctrl-C, or at the first failed write (reported).
    void Go() override;

  private:
    int16_t widths_[28];
    rtopipe *pipe_;
    int32_t pageWidth_;
};

// Receives the records of a VARFILE being read: the reader hands it every
// field of every record and the recorder decides what to do with it.
// Variable indices are 1-based; 0 means no variable (the record is skipped).
class ZARN_API VarRecorder {
  public:
    using Attribute = RTVarDatabase::VarAttribute;
    virtual ~VarRecorder();
    // Nonzero when the recorder takes this attribute's column.
    virtual int AcceptsAttribute(Attribute a) = 0;
    // The variable a record names, or 0 to skip the record.
    virtual int LookupVariable(const char *name) = 0;
    virtual void AssignReal(int i, Attribute a, double x) = 0;
    virtual void AssignInteger(int i, Attribute a, int n) = 0;
    virtual void AssignString(int i, Attribute a, const char *text) = 0;
    // A number given in the unit the record names (the file's UNITS column).
    virtual void AssignRealInUnit(int i, Attribute a, double x, const char *unit) = 0;
    virtual void AssignIntegerInUnit(int i, Attribute a, int n, const char *unit) = 0;
    // Nonzero when the recorder passes records on an attribute's text, put in *a.
    virtual int QueryAttribute(Attribute *a) = 0;
    // Nonzero when record i passes; the two last arguments are 0.
    virtual int QueryMatches(int i, Attribute a, const char *text, int, int) = 0;
};

// Assigns what it receives to a variable list, converting from display
// units. Everything it holds is borrowed.
class ZARN_API AssignRecorder : public VarRecorder {
  public:
    // Where a variant assigns less: numbers and texts of the attributes in
    // these sets (bit 1 << attribute) get the plain refusal ("Attempt to
    // assign ... value") instead of being stored or explained, and a unit
    // that types an untyped variable may leave its connection type alone.
    struct Rules {
        uint32_t refusedNumbers;
        uint32_t refusedTexts;
        bool unitSetsConnType;
    };

    AssignRecorder(const gl_list_t *attributes, rtvarlst_t *list, int level, const VarFilter *filter);
    ~AssignRecorder() override;
    AssignRecorder(const AssignRecorder &) = delete;
    AssignRecorder &operator=(const AssignRecorder &) = delete;

    int AcceptsAttribute(Attribute a) override;  // a is in the attribute list
    // The upper-case name found in the list and let through by the filter
    // (a NULL filter lets every variable through); names longer than 1024
    // characters are not found.
    int LookupVariable(const char *name) override;
    void AssignReal(int i, Attribute a, double x) override;
    void AssignInteger(int i, Attribute a, int n) override;
    void AssignString(int i, Attribute a, const char *text) override;
    // A NULL or empty unit text means the variable's display unit.
    void AssignRealInUnit(int i, Attribute a, double x, const char *unit) override;
    void AssignIntegerInUnit(int i, Attribute a, int n, const char *unit) override;
    int QueryAttribute(Attribute *a) override;                                  // 0
    int QueryMatches(int i, Attribute a, const char *text, int, int) override;  // 1

  protected:
    AssignRecorder(const gl_list_t *attributes, rtvarlst_t *list, int level, const VarFilter *filter,
                   const Rules &rules);

    const gl_list_t *attributes_;
    rtvarlst_t *list_;
    int level_;
    const VarFilter *filter_;
    Rules rules_;

  private:
    // Upper-case copies of names and texts, in a buffer kept between calls
    // so that reading a file does not allocate per field.
    char *buffer_ = nullptr;
    size_t capacity_ = 0;
    // The last unit text located within the current record, its physical
    // type and the unit found (a record repeats one unit for every number).
    char unitText_[40] = {};
    int unitType_ = 0;
    int unitFound_ = 0;
};

// The common base of the processors that read a file: owns the input pipe,
// takes the attributes 0..27 that are not derived, and parses the pipe into
// a recorder. Level 1.
class ZARN_API RTVarFileReader : public RTVarFileIO {
  public:
    ~RTVarFileReader() override;  // drops what the scanner read ahead, destroys the pipe

    // The attributes 0..27 that are not derived.
    int SupportedAttribute(VarAttribute a) const override;
    void Reset() override;  // RTVarFileIO::Reset, then every supported attribute

  protected:
    // Takes ownership of pipe. The attribute list starts empty.
    RTVarFileReader(rtopipe *pipe, rtvarlst_t *list);
    // Appends every supported attribute in ascending order.
    void AddSupportedAttributes();
    // Makes the attribute list a copy of the read mask (get_readVarFile_mask).
    void CopyReadMask(const char *who);
    // Parses the whole pipe into rec. Without a pipe: a message naming who
    // ("who::Go"), nothing read, false. A C++ exception out of the parse
    // (a pipe's or recorder's) leaves the reader's state clean and passes on.
    bool Read(VarRecorder &rec, const char *who);

    rtopipe *pipe_;
};

// The reader: assigns a VARFILE's values to the variable list. The attribute
// list starts as a copy of the read mask.
class ZARN_API RTVarFileIn : public RTVarFileReader {
  public:
    // Takes ownership of pipe (destroyed with the reader).
    RTVarFileIn(rtopipe *pipe, rtvarlst_t *list);
    ~RTVarFileIn() override;
    // Reads the whole pipe once; bad records are reported and skipped.
    void Go() override;
};

// Assigns like AssignRecorder the records whose SPEC passes a query: the
// record's SPEC text is one of the query's texts and is also the variable's
// current SPEC word (both ignoring case). It refuses THRESHOLD
// numbers, MODIFIED integers and MODIFIED, VAR_TYPE and RAMPED texts, and a
// unit it gives an untyped variable leaves the connection type alone.
class ZARN_API AssignRecorderWithQuery : public AssignRecorder {
  public:
    // texts: a list of NUL-terminated texts (borrowed; NULL passes nothing);
    // attribute: the query attribute, no query unless 0..27.
    AssignRecorderWithQuery(const gl_list_t *attributes, rtvarlst_t *list, int level, const VarFilter *filter,
                            const gl_list_t *texts, int attribute);
    int QueryAttribute(Attribute *a) override;
    int QueryMatches(int i, Attribute a, const char *text, int, int) override;

  private:
    const gl_list_t *texts_;
    int attribute_;
};

// Assigns like AssignRecorder to the variable a name stands for after its
// leading part is replaced: old prefix by new prefix, or, without a new
// prefix, the old prefix and the separator after it dropped. A name that
// does not begin with the old prefix names no variable. It refuses THRESHOLD
// and SHADOW_PRICE numbers and ACTIVE_BOUND, DESCRIPTION, MODIFIED,
// VAR_TYPE, RAMPED and CONN_TYPE texts, and a unit it gives an untyped
// variable leaves the connection type alone.
class ZARN_API AssignRecorderWithSubs : public AssignRecorder {
  public:
    // The prefixes are upper-case texts, borrowed; NULL means none.
    AssignRecorderWithSubs(const gl_list_t *attributes, rtvarlst_t *list, int level, const VarFilter *filter,
                           const char *oldPrefix, const char *newPrefix);
    ~AssignRecorderWithSubs() override;
    AssignRecorderWithSubs(const AssignRecorderWithSubs &) = delete;
    AssignRecorderWithSubs &operator=(const AssignRecorderWithSubs &) = delete;
    int LookupVariable(const char *name) override;

  private:
    const char *old_;
    size_t oldLength_;
    const char *new_;
    size_t newLength_;
    char *name_ = nullptr;  // the rewritten name, kept between records
    size_t capacity_ = 0;
};

// Compares what it receives with the variable list instead of assigning it:
// per attribute, how many fields differ from the current state, the sum of
// the current numbers' magnitudes and the sum of the differences. A number
// is compared with the current one as the writer would write it (in the
// display unit, or the unit the record names); a text with the current word.
// At level 2 or more every difference gets a line on the report pipe.
// Everything it holds is borrowed.
class ZARN_API StatisticsRecorder : public VarRecorder {
  public:
    StatisticsRecorder(const gl_list_t *attributes, rtvarlst_t *list, int level, const VarFilter *filter,
                       rtopipe *report);
    ~StatisticsRecorder() override;
    StatisticsRecorder(const StatisticsRecorder &) = delete;
    StatisticsRecorder &operator=(const StatisticsRecorder &) = delete;

    int AcceptsAttribute(Attribute a) override;     // as AssignRecorder
    int LookupVariable(const char *name) override;  // as AssignRecorder
    void AssignReal(int i, Attribute a, double x) override;
    void AssignInteger(int i, Attribute a, int n) override;
    void AssignString(int i, Attribute a, const char *text) override;
    void AssignRealInUnit(int i, Attribute a, double x, const char *unit) override;
    void AssignIntegerInUnit(int i, Attribute a, int n, const char *unit) override;
    int QueryAttribute(Attribute *a) override;                                  // 0
    int QueryMatches(int i, Attribute a, const char *text, int, int) override;  // 1

    // The figures so far of attribute a; 0 outside 0..27.
    int32_t ChangedCount(Attribute a) const;
    double MagnitudeSum(Attribute a) const;
    double DifferenceSum(Attribute a) const;

  private:
    const gl_list_t *attributes_;
    rtvarlst_t *list_;
    int level_;
    const VarFilter *filter_;
    rtopipe *report_;
    int32_t changed_[ZARN_VARFILE_ATTRIBUTE_COUNT] = {};
    double magnitude_[ZARN_VARFILE_ATTRIBUTE_COUNT] = {};
    double difference_[ZARN_VARFILE_ATTRIBUTE_COUNT] = {};
    char *buffer_ = nullptr;  // upper-case copies of names, texts and units
    size_t capacity_ = 0;
};

// Notes what a file holds instead of assigning it: while collecting, every
// attribute a header names and the block of every variable name (the part
// before its first ".BLK", in upper case); no record is processed further.
// The block names go to one process-wide sorted set without repetitions,
// emptied when a recorder is built and when collecting starts.
class ZARN_API QueryRecorder : public VarRecorder {
  public:
    QueryRecorder();
    // Starting empties the block-name set; after stopping, AcceptsAttribute
    // tells whether an attribute was noted.
    void Collect(bool on);

    int AcceptsAttribute(Attribute a) override;
    int LookupVariable(const char *name) override;           // notes the block; 0
    void AssignReal(int i, Attribute a, double x) override;  // nothing
    void AssignInteger(int i, Attribute a, int n) override;
    void AssignString(int i, Attribute a, const char *text) override;
    void AssignRealInUnit(int i, Attribute a, double x, const char *unit) override;
    void AssignIntegerInUnit(int i, Attribute a, int n, const char *unit) override;
    int QueryAttribute(Attribute *a) override;                                  // 0
    int QueryMatches(int i, Attribute a, const char *text, int, int) override;  // 1

  private:
    uint32_t noted_ = 0;  // bit 1 << attribute for each attribute noted
    bool collecting_ = false;
};

// Compares a VARFILE with the variable list and writes a per-attribute
// summary to the report pipe (borrowed). The attribute list starts as every
// supported attribute.
class ZARN_API RTVarFileCmp : public RTVarFileReader {
  public:
    // Takes ownership of pipe, not of report.
    RTVarFileCmp(rtopipe *pipe, rtopipe *report, rtvarlst_t *list);
    ~RTVarFileCmp() override;
    // Reads the whole pipe, then writes "COMPARE VARFILE REPORT" with a line
    // per supported attribute in the list, in attribute order. Without a
    // report pipe: a message, nothing read.
    void Go() override;

  private:
    rtopipe *report_;
};

// Reads like RTVarFileIn, but only the records whose SPEC passes the query
// set with SetQuery (AssignRecorderWithQuery). The attribute list starts as
// a copy of the read mask.
class ZARN_API RTVarFileInQuery : public RTVarFileReader {
  public:
    RTVarFileInQuery(rtopipe *pipe, rtvarlst_t *list);
    ~RTVarFileInQuery() override;
    // texts: a list of texts allocated with malloc; the reader owns it (and
    // its texts) from then on, and frees a list given before. A NULL list
    // changes nothing and gives 0; else 1. Only SPEC passes records; another
    // attribute 0..27 passes none, and one outside 0..27 filters nothing.
    int SetQuery(VarAttribute attribute, gl_list_t *texts);
    void Go() override;

  private:
    gl_list_t *texts_ = nullptr;
    int attribute_ = -1;
};

// Reads like RTVarFileIn into the variables the file's names stand for
// after prefix substitution (AssignRecorderWithSubs). The attribute list
// starts as every supported attribute.
class ZARN_API RTVarFileInWithSubs : public RTVarFileReader {
  public:
    // The prefixes (either may be NULL) are copied in upper case.
    RTVarFileInWithSubs(rtopipe *pipe, rtvarlst_t *list, const char *oldPrefix, const char *newPrefix);
    ~RTVarFileInWithSubs() override;
    // Reads nothing when a prefix could not be copied (reported then).
    void Go() override;

  private:
    char *old_ = nullptr;
    char *new_ = nullptr;
    bool copied_ = true;
};

// Lists what a VARFILE holds without any variable list: the attributes its
// headers name and the blocks its variable names carry (QueryRecorder).
class ZARN_API RTVarFileQry : public RTVarFileReader {
  public:
    explicit RTVarFileQry(rtopipe *pipe);
    ~RTVarFileQry() override;
    // Reads the whole pipe; runs once, later calls keep the results.
    void Go() override;

    int NumAttr() const;
    // The i-th attribute found (from 0, in attribute order); -1 outside 0..NumAttr()-1.
    VarAttribute AttrAt(int i) const;
    int NumBlocks() const;
    // The i-th block name (from 0, sorted by byte), owned by the reader;
    // NULL outside 0..NumBlocks()-1.
    const char *BlockIDAt(int i) const;

  private:
    gl_list_t *found_ = nullptr;  // attribute numbers in the pointers
    int32_t nblocks_ = 0;
    char **blocks_ = nullptr;
    bool done_ = false;
};

// A new list of the 28 attribute numbers 0..27 (in the pointers); the caller
// destroys it with gl_destroylist. NULL when memory is short (reported).
extern "C" ZARN_API gl_list_t *createWriteVarFileMask(void);
// A new list of the 20 attributes a reader takes by default: 0..27 without
// CHANGE, SSPEC, SHADOW_PRICE, ACTIVE_BOUND, DESCRIPTION, MODIFIED, RLOWER
// and RUPPER. NULL when memory is short (reported).
extern "C" ZARN_API gl_list_t *createReadVarFileMask(void);
// The shared read mask each new reader copies, made (again) when missing or
// empty; callers may change it. NULL when memory is short.
extern "C" ZARN_API gl_list_t *get_readVarFile_mask(void);

#endif
