// The automation stand-ins: BSTR lengths and ownership, one-dimensional safe
// arrays with their bounds, and VARIANT copies that own what they hold.
#include <gtest/gtest.h>

#include <climits>

#include "zarnutils/com.h"

namespace {

const OLECHAR kHello[] = {'h', 'e', 'l', 'l', 'o', 0};

TEST(Bstr, LengthIsStoredBeforeTheText) {
    BSTR s = SysAllocString(kHello);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 5u);
    EXPECT_EQ(s[5], 0) << "terminated";
    BSTR part = SysAllocStringLen(kHello, 2);
    EXPECT_EQ(SysStringLen(part), 2u);
    EXPECT_EQ(part[1], 'e');
    EXPECT_EQ(part[2], 0);
    BSTR zeros = SysAllocStringLen(nullptr, 3);
    EXPECT_EQ(SysStringLen(zeros), 3u);
    EXPECT_EQ(zeros[0], 0);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysAllocStringLen(kHello, 0x40000000u), nullptr) << "a length beyond the byte count is refused";
    SysFreeString(s);
    SysFreeString(part);
    SysFreeString(zeros);
    SysFreeString(nullptr);
}

TEST(SafeArray, BoundsAndElements) {
    SAFEARRAY *a = SafeArrayCreateVector(VT_I4, -2, 3);
    ASSERT_NE(a, nullptr);
    int32_t lo = 0, hi = 0;
    EXPECT_EQ(SafeArrayGetLBound(a, 1, &lo), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(a, 1, &hi), S_OK);
    EXPECT_EQ(lo, -2);
    EXPECT_EQ(hi, 0);
    EXPECT_EQ(SafeArrayGetLBound(a, 2, &lo), E_INVALIDARG);
    const int32_t value = 42;
    for (int32_t index : {-2, 0}) EXPECT_EQ(SafeArrayPutElement(a, &index, &value), S_OK) << index;
    for (int32_t index : {-3, 1, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(SafeArrayPutElement(a, &index, &value), DISP_E_BADINDEX) << index;
        int32_t out = 0;
        EXPECT_EQ(SafeArrayGetElement(a, &index, &out), DISP_E_BADINDEX) << index;
    }
    int32_t out = 0, middle = -1;
    EXPECT_EQ(SafeArrayGetElement(a, &middle, &out), S_OK);
    EXPECT_EQ(out, 0) << "elements start zeroed";
    const int32_t last = 0;
    EXPECT_EQ(SafeArrayGetElement(a, &last, &out), S_OK);
    EXPECT_EQ(out, 42);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
    EXPECT_EQ(SafeArrayCreateVector(VT_BOOL, 0, 1), nullptr) << "only I4, R8 and BSTR elements";
    EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
}

TEST(SafeArray, BstrElementsAreCopiedInAndOut) {
    SAFEARRAY *a = SafeArrayCreateVector(VT_BSTR, 0, 2);
    ASSERT_NE(a, nullptr);
    BSTR s = SysAllocString(kHello);
    const int32_t first = 0, second = 1;
    ASSERT_EQ(SafeArrayPutElement(a, &first, s), S_OK);
    ASSERT_EQ(SafeArrayPutElement(a, &first, s), S_OK) << "replacing frees the old copy";
    SysFreeString(s);
    BSTR out = nullptr;
    ASSERT_EQ(SafeArrayGetElement(a, &first, &out), S_OK);
    EXPECT_EQ(SysStringLen(out), 5u);
    SysFreeString(out);
    ASSERT_EQ(SafeArrayGetElement(a, &second, &out), S_OK);
    EXPECT_EQ(out, nullptr) << "an empty slot reads as the empty text";
    SAFEARRAY *copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(a, &copy), S_OK);
    SafeArrayDestroy(a);
    ASSERT_EQ(SafeArrayGetElement(copy, &first, &out), S_OK);
    EXPECT_EQ(out[4], 'o') << "the copy owns its texts";
    SysFreeString(out);
    SafeArrayDestroy(copy);
    EXPECT_EQ(SafeArrayCopy(nullptr, &copy), S_OK);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(SafeArrayCopy(nullptr, nullptr), E_INVALIDARG);
}

TEST(Variant, CopyAndClearOwnTheirContents) {
    VARIANT a, b;
    VariantInit(&a);
    VariantInit(&b);
    EXPECT_EQ(a.vt, VT_EMPTY);
    a.vt = VT_BSTR;
    a.bstrVal = SysAllocString(kHello);
    ASSERT_EQ(VariantCopy(&b, &a), S_OK);
    EXPECT_NE(b.bstrVal, a.bstrVal) << "a copy of the text, not the same block";
    EXPECT_EQ(SysStringLen(b.bstrVal), 5u);
    VariantClear(&a);
    EXPECT_EQ(a.vt, VT_EMPTY);
    EXPECT_EQ(b.bstrVal[0], 'h');
    VARIANT c;
    VariantInit(&c);
    c.vt = VT_ARRAY | VT_BSTR;
    c.parray = SafeArrayCreateVector(VT_BSTR, 0, 1);
    ASSERT_EQ(VariantCopy(&b, &c), S_OK) << "the old text of b is freed";
    EXPECT_NE(b.parray, c.parray);
    EXPECT_EQ(VariantCopy(&b, &b), S_OK);
    VariantClear(&b);
    VariantClear(&c);
    c.vt = VT_R8;
    c.dblVal = 2.5;
    ASSERT_EQ(VariantCopy(&b, &c), S_OK);
    EXPECT_EQ(b.dblVal, 2.5);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
    EXPECT_EQ(VariantCopy(nullptr, &c), E_INVALIDARG);
}

}  // namespace
