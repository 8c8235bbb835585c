// Fake host objects that count what the library does to them.
#ifndef ZARN_TESTS_SUPPORT_FAKES_H
#define ZARN_TESTS_SUPPORT_FAKES_H

#include <vector>

#include "zarnutils/rtattrdict.hpp"
#include "zarnutils/rtvarlst.hpp"
#include "zarnutils/rtvarlst.h"

namespace zarn::test {

// A host wrapper that counts its references and remembers the index it was told.
struct CountingWrapper final : IWEXWrapper {
    int refs = 0;       // references held by others
    int32_t index = 0;  // last index set by the library
    int set_index_calls = 0;
    HRESULT QueryInterface(const void *, void **) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG Release() override { return static_cast<ULONG>(--refs); }
    HRESULT GetIndex(int32_t *out) override {
        if (out) *out = index;
        return S_OK;
    }
    HRESULT SetIndex(int32_t i) override {
        index = i;
        ++set_index_calls;
        return S_OK;
    }
};

// A host block object that records which variables it was told about.
struct RecordingBlock final : QDLEOBlock {
    std::vector<int32_t> changed;  // absolute indices, in call order
    void *associated = nullptr;    // what AssociatedObject() hands out
    int associated_calls = 0;
    void VariableChanged(int32_t absolute_index) override { changed.push_back(absolute_index); }
    void *AssociatedObject() override {
        ++associated_calls;
        return associated;
    }
};

}  // namespace zarn::test

#endif
