// A drag source's data object for tests: fixed blocks per format, handed
// out as fresh global memory on every GetData, as a file manager's is.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <vector>

#include "tests/support/drop_blocks.h"

// A COM object on the test's stack: it answers for IUnknown and its one
// interface, and counts references without ever deleting itself.
template <class Interface, const IID& INTERFACE_ID>
class StackObject : public Interface {
public:
    StackObject() = default;
    StackObject(const StackObject&) = delete;
    StackObject& operator=(const StackObject&) = delete;
    ULONG reference_count() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_INVALIDARG;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, INTERFACE_ID)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

private:
    ULONG references_ = 1;
};

class TestDataObject final : public StackObject<IDataObject, IID_IDataObject> {
public:
    ~TestDataObject() {
        for (HGLOBAL handle : kept_) GlobalFree(handle);
    }

    void add(int format, const Bytes& bytes) { formats_.push_back({format, bytes}); }
    bool fail_get_data = false;
    // The source keeps owning the memory it hands out, and holds a reference
    // for each medium until the receiver releases it.
    bool source_keeps_data = false;
    int get_data_calls = 0;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        ++get_data_calls;
        const Bytes* bytes = find(format);
        if (!bytes || !medium || fail_get_data) return DV_E_FORMATETC;
        HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
        void* block = handle ? GlobalLock(handle) : nullptr;
        if (!block) return E_OUTOFMEMORY;
        std::memcpy(block, bytes->data(), bytes->size());
        GlobalUnlock(handle);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = handle;
        medium->pUnkForRelease = nullptr;
        if (source_keeps_data) {
            kept_.push_back(handle);
            medium->pUnkForRelease = this;
            AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return find(format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        int format;
        Bytes bytes;
    };
    const Bytes* find(const FORMATETC* format) const {
        if (!format || !(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT) return nullptr;
        for (const Entry& entry : formats_)
            if (entry.format == format->cfFormat) return &entry.bytes;
        return nullptr;
    }
    std::vector<Entry> formats_;
    std::vector<HGLOBAL> kept_;
};

