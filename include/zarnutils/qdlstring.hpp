// QDLString: one owned heap copy of a NUL-terminated text, with byte-wise and
// natural ("X2" before "X10") comparisons. The query engines keep names and
// messages in it (docs/query.md).
//
// Ownership: the object owns its text and frees it; texts handed in through
// Attach(char *) and texts handed out by Detach(), s_StringCopy and
// s_NewString are malloc blocks that the receiver frees with free(). A null
// string has no text at all; an empty string has a text of length 0.
// When memory is short an operation that would copy leaves the object as it
// was and prints a message on the history device rtHisDev.
#ifndef ZARNUTILS_QDLSTRING_HPP
#define ZARNUTILS_QDLSTRING_HPP

#include <cstddef>

#include "zarnutils/zarn_api.h"

class ZARN_API QDLString {
  public:
    QDLString();                        // a null string
    QDLString(const char *text);        // a copy of text; NULL gives a null string
    QDLString(const QDLString &other);  // a copy of other's text
    ~QDLString();

    QDLString &operator=(const char *text);
    QDLString &operator=(const QDLString &other);
    // Owns a copy of other's text (null when other is null); false when no memory.
    bool CopyContentsFrom(const QDLString &other);
    // Owns a copy of the first n characters of text (n > 0; fewer when the text is
    // shorter) or of the whole text (n = 0). NULL text: a null string. False when no memory.
    bool Copy(const char *text, size_t n);
    void Clear();  // frees the text; the string becomes null

    void Attach(QDLString &other);  // takes other's text; other becomes null
    void Attach(char *text);        // takes a malloc'd text (or NULL) as its own
    char *Detach();                 // the text to the caller (who frees it); becomes null
    void Detach(QDLString &other);  // hands its text to other (freeing other's); becomes null
    void swap(QDLString &other);

    bool IsNull() const { return text_ == nullptr; }
    bool IsEmpty() const { return text_ == nullptr || text_[0] == '\0'; }
    size_t Length() const;  // 0 for a null string
    operator const char *() const { return text_; }

    // Byte-wise order (s_AlphabeticDiff).
    bool operator==(const QDLString &other) const;
    bool operator==(const char *text) const;
    bool operator<(const QDLString &other) const;
    bool operator<(const char *text) const;
    // s_AlphaNumericDiff with natural true, else s_AlphabeticDiff, of this text and text.
    int Compare(const char *text, bool natural) const;

    // A new malloc'd copy of the first n characters (n > 0) or of the whole
    // text (n = 0); NULL for a NULL text or when memory is short.
    static char *s_StringCopy(const char *text, size_t n);
    // A new malloc'd text of n copies of ch; NULL when memory is short.
    static char *s_NewString(size_t n, char ch);

    // Both comparisons give a negative, zero or positive result. A NULL text
    // is less than any text and equal to NULL. When position is given it
    // receives the offset in a at which the comparison was decided (0 when a
    // text is NULL).
    //
    // Byte by byte through the collation table.
    static int s_AlphabeticDiff(const char *a, const char *b, size_t *position = nullptr);
    // As s_AlphabeticDiff, but a run of digits in both texts compares as a
    // number (negative after a "-" in a), fewer digits first when the numbers
    // are equal ("7" before "007"); a digit against a non-digit is decided by
    // the rules in docs/query.md.
    static int s_AlphaNumericDiff(const char *a, const char *b, size_t *position = nullptr);
    // The collation of one byte: an upper-case letter stays, anything else is
    // lower-cased; so every byte maps to itself.
    static int s_NormaliseChar(int c);

  private:
    char *text_;
};

#endif
